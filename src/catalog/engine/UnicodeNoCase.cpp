#include "catalog/engine/UnicodeNoCase.h"

#include <sqlite3.h>

namespace tarl {

namespace {

// The folded code point at `at`, moving `at` past it; a lone surrogate stands for itself.
char32_t NextFolded(QStringView text, qsizetype& at) {
    const char16_t unit = text[at].unicode();
    ++at;
    if (unit < 0x80) // ASCII, most names: no table needed
        return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit;
    if (QChar::isHighSurrogate(unit) && at < text.size() &&
        QChar::isLowSurrogate(text[at].unicode()))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(unit, text[at++].unicode()));
    return QChar::toCaseFolded(char32_t(unit));
}

int Collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    // The engine hands both texts over in UTF-16 of this machine's byte order.
    return UnicodeNoCase::compare(QStringView(static_cast<const char16_t*>(a), lengthA / 2),
                                  QStringView(static_cast<const char16_t*>(b), lengthB / 2));
}

} // namespace

int UnicodeNoCase::compare(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = NextFolded(a, i);
        const char32_t y = NextFolded(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

Result<> UnicodeNoCase::Install(sqlite3* db) {
    if (sqlite3_create_collation_v2(db, "UNICODE_NOCASE", SQLITE_UTF16, nullptr, Collate,
                                    nullptr) == SQLITE_OK)
        return {};
    return Result<>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace tarl
