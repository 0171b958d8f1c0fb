#include "tags/Id3Text.h"
#include "text/Windows1252.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace tarl {
namespace {

// Bytes of a literal, NULs included.
template <std::size_t N> QByteArray Bytes(const char (&data)[N]) {
    return QByteArray(data, N - 1);
}

TEST(Id3Text, EachEncodingDecodes) {
    const struct {
        const char* what;
        quint8 encoding;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"latin-1 is windows-1252", 0, Bytes("Caf\xE9 \x80 \x93x\x94 \x9F"),
         QString::fromUtf8("Café € “x” Ÿ")},
        {"undefined 1252 bytes keep their number", 0, Bytes("\x81\x8D\x8F\x90\x9D"),
         QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")},
        {"utf-16 little-endian bom", 1, Bytes("\xFF\xFEH\0i\0"), "Hi"},
        {"utf-16 big-endian bom", 1, Bytes("\xFE\xFF\0H\0i"), "Hi"},
        {"utf-16 without bom, little-endian guessed", 1, Bytes("H\0i\0"), "Hi"},
        {"utf-16 without bom, big-endian guessed", 1, Bytes("\0H\0i"), "Hi"},
        {"utf-16 surrogate pair", 1, Bytes("\xFF\xFE\x3D\xD8\x00\xDE"), QString::fromUtf8("😀")},
        {"utf-16 odd last byte dropped", 1, Bytes("\xFF\xFEH\0i\0!"), "Hi"},
        {"utf-16 bom only", 1, Bytes("\xFF\xFE"), ""},
        {"utf-16 one byte", 1, Bytes("\xFF"), ""},
        {"utf-16 lone surrogate replaced", 1, Bytes("\xFF\xFE\x3D\xD8x\0"),
         QString::fromUtf16(u"\uFFFDx")},
        {"utf-16 lone surrogate at the end replaced", 1, Bytes("\xFF\xFEx\0\x3D\xD8"),
         QString::fromUtf16(u"x\uFFFD")},
        {"utf-16be", 2, Bytes("\0H\0\xE9"), QString::fromUtf8("Hé")},
        {"utf-16be with a bom anyway", 2, Bytes("\xFE\xFF\0H"), "H"},
        {"utf-8", 3, QString::fromUtf8("Naïve テスト").toUtf8(), QString::fromUtf8("Naïve テスト")},
        {"utf-8 bom skipped", 3, Bytes("\xEF\xBB\xBFok"), "ok"},
        {"invalid utf-8 read as 1252", 3, Bytes("Caf\xE9"), QString::fromUtf8("Café")},
        {"utf-8 cut inside a character read as 1252", 3, Bytes("ab\xC3"), QString::fromUtf8("abÃ")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeId3String(c.encoding, c.bytes), c.text) << c.what;
}

TEST(Id3Text, TerminatorsSitOnCharacterBoundaries) {
    const struct {
        const char* what;
        quint8 encoding;
        QByteArray bytes;
        qsizetype from;
        qsizetype at;
    } cases[] = {
        {"latin-1", 0, Bytes("ab\0c"), 0, 2},
        {"none", 0, Bytes("abc"), 0, -1},
        {"from the end", 3, Bytes("ab"), 2, -1},
        {"utf-16 pair", 1, Bytes("a\0b\0\0\0"), 0, 4},
        // "\x00" ending one character and starting the next is no terminator.
        {"utf-16 straddling zeros", 1, Bytes("\x01\0\0\x01\0\0"), 0, 4},
        {"utf-16 lone zero byte", 2, Bytes("\0a\0"), 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindId3Terminator(c.encoding, c.bytes, c.from), c.at) << c.what;
}

} // namespace
} // namespace tarl
