#include "catalog/engine/EngineText.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tarl {
namespace {

// Whatever the bytes, a text reads as the engine's own conversion reads it.
TEST(EngineText, ReadsEveryTextAsTheEngineConvertsIt) {
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"ASCII", "Love me"},
        {"two, three and four bytes", "Økland € 𝄞"},
        {"an embedded NUL", QByteArray("a\0b", 3)},
        {"a stray continuation byte", "a\x80z"},
        {"a lead byte without its continuation", "a\xC3"},
        {"an overlong slash", "\xC0\xAF"},
        {"an encoded surrogate", "\xED\xA0\x80"},
        {"U+FFFE", "\xEF\xBF\xBE"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
        {"five bytes", "\xF8\x88\x80\x80\x80"},
        {"a byte order mark", "\xEF\xBB\xBFx"},
    };
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    EngineText decoder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT ?, ?", -1, &statement, nullptr), SQLITE_OK);
        for (int i = 1; i <= 2; ++i)
            sqlite3_bind_text(statement, i, c.bytes.constData(), int(c.bytes.size()),
                              SQLITE_STATIC);
        ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
        const QString decoded = decoder.of(statement, 0).toString();
        const auto* engine = static_cast<const char16_t*>(sqlite3_column_text16(statement, 1));
        // As the engine gives it: QString::fromUtf16 would drop a byte order mark.
        EXPECT_EQ(decoded, QStringView(engine, sqlite3_column_bytes16(statement, 1) / 2));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
}

} // namespace
} // namespace tarl
