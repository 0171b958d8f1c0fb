#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

struct sqlite3_stmt;
struct sqlite3_value;

namespace tarl {

// A text value of the engine in UTF-16, exactly as the engine's own conversion gives it
// (sqlite3_value_text16 / sqlite3_column_text16), without the engine's copy in the usual case:
// well-formed UTF-8 is decoded here, into the caller's buffer; anything else (a byte that is not
// UTF-8, an overlong form, a surrogate, U+FFFE or U+FFFF, which the engine replaces) is left to
// the engine. For the catalog's functions and the reads of many rows.
class EngineText {
public:
    // The value's text; empty for NULL. Valid until the next call or the value's next use.
    QStringView of(sqlite3_value* value);
    QStringView of(sqlite3_stmt* statement, int column);

    // UTF-8 that decodes without the engine's replacements, appended to `into`; false (with
    // `into` in any state) for anything else.
    static bool DecodeWellFormed(const unsigned char* bytes, int size, std::vector<char16_t>& into);

private:
    // The bytes decoded into buffer_, as a view of it; nothing when they are not well-formed.
    std::optional<QStringView> decoded(const unsigned char* bytes, int size);

    std::vector<char16_t> buffer_;
};

} // namespace tarl
