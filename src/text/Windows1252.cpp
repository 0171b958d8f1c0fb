#include "text/Windows1252.h"

#include <array>

namespace tarl {

namespace {

// Windows-1252 from 0x80 to 0x9F; every other byte is the Latin-1 character of the same value.
// Kept here rather than asked of QStringDecoder: whether Qt knows "windows-1252" depends on how
// it was built (ICU), and a file must read the same on every machine.
constexpr std::array<char16_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

} // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? kHighCharacters[byte - 0x80] : char16_t(byte);
    }
    return text;
}

} // namespace tarl
