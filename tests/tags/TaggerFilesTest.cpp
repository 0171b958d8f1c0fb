// Files laid out the way common taggers write them, and what a careful reader makes of each.
#include "TagFileCases.h"
#include "support/Id3Builder.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace tarl {
namespace {

using test::Id3Builder;
using test::Id3Enc;
using test::Id3v1Fields;

template <std::size_t N> QByteArray B(const char (&data)[N]) {
    return QByteArray(data, N - 1);
}

// Winamp's ID3v1.1: NUL-filled fields, the track number in the comment's last byte.
QByteArray WinampV11() {
    Id3v1Fields v1{"Smells Like Teen Spirit", "Nirvana", "Nevermind", "1991", "", 17};
    v1.track = 1;
    return Id3Builder(0).audio(8).v1(v1).build();
}

// iTunes 4 to 6: ID3v2.2, Latin-1 text ended by a NUL, UTF-16 where Latin-1 cannot hold the text,
// the genre as a reference, its own COM frames for loudness and the CD lookup, 2 KiB of padding.
QByteArray ItunesV22() {
    return Id3Builder(2)
        .text("TT2", "Intro", Id3Enc::Latin1, true)
        .text("TP1", QString::fromUtf8("Sigur Rós ☂"), Id3Enc::Utf16, true)
        .text("TAL", QString::fromUtf8("Ágætis byrjun"), Id3Enc::Latin1, true)
        .text("TCO", "(20)", Id3Enc::Latin1, true)
        .text("TYE", "1999", Id3Enc::Latin1, true)
        .text("TRK", "1/10", Id3Enc::Latin1, true)
        .comment("iTunNORM", " 000001A0 0000019C 00000A2F 00000A41 00015F90")
        .comment("iTunes_CDDB_1", "8A0B1F0C+74300+10+150")
        .padding(2048)
        .audio(8)
        .build();
}

// Windows Media Player and Explorer: ID3v2.3, every string UTF-16 with a BOM and a terminator,
// PRIV and APIC frames before the text, the genre as text, a large padding.
QByteArray WindowsV23() {
    const QByteArray mediaClass = B("WM/MediaClassPrimaryID\0\xBC\x7D\x60\xD1\x23\xE3\xE2\x4B"
                                    "\x86\xA1\x48\xA4\x2A\x28\x44\x1E");
    return Id3Builder(3)
        .frame("PRIV", mediaClass)
        .picture(6000)
        .text("TPE2", "Various", Id3Enc::Utf16, true)
        .text("TIT2", QString::fromUtf8("Déjà vu"), Id3Enc::Utf16, true)
        .text("TPE1", "Beyonc\u00e9", Id3Enc::Utf16, true)
        .text("TALB", "B'Day", Id3Enc::Utf16, true)
        .text("TYER", "2006", Id3Enc::Utf16, true)
        .text("TCON", "R&B", Id3Enc::Utf16, true)
        .comment("", "From the disc", Id3Enc::Utf16)
        .padding(4096)
        .audio(8)
        .build();
}

// Command-line taggers of the v2.3 era: Latin-1 without terminators, the genre as a reference,
// and an ID3v1 trailer beside the tag whose fields are cut to 30 bytes.
QByteArray CommandLineV23() {
    Id3v1Fields v1{"A Title Longer Than Thirty Cha", "Artist", "Album", "1994", "Ripped", 17};
    return Id3Builder(3)
        .text("TIT2", "A Title Longer Than Thirty Characters")
        .text("TPE1", "Artist")
        .text("TALB", "Album")
        .text("TYER", "1994")
        .text("TCON", "(17)")
        .comment("", "Ripped")
        .audio(8)
        .v1(v1)
        .build();
}

// foobar2000, Mp3tag and Picard writing ID3v2.4: UTF-8, TDRC, several values in one frame, the
// cover first, padding, and an ID3v1 trailer of what Latin-1 can keep.
QByteArray Utf8V24() {
    Id3v1Fields v1{"One More Time", "Daft Punk", "Discovery", "2001", "", 52};
    return Id3Builder(4)
        .picture(20000)
        .text("TIT2", "One More Time", Id3Enc::Utf8)
        .texts("TPE1", {"Daft Punk", "Romanthony"}, Id3Enc::Utf8)
        .text("TALB", "Discovery", Id3Enc::Utf8)
        .text("TDRC", "2001-03-12", Id3Enc::Utf8)
        .text("TCON", "Electronic", Id3Enc::Utf8)
        .comment("", QString::fromUtf8("Ça commence ♪"), Id3Enc::Utf8)
        .padding(1024)
        .audio(8)
        .v1(v1)
        .build();
}

// eyeD3 and Mutagen writing ID3v2.4 with UTF-16: a BOM per value, genre as a bare number.
QByteArray Utf16V24() {
    return Id3Builder(4)
        .text("TIT2", QString::fromUtf8("夜に駆ける"), Id3Enc::Utf16)
        .text("TPE1", "YOASOBI", Id3Enc::Utf16)
        .text("TDRC", "2019", Id3Enc::Latin1)
        .text("TCON", "13", Id3Enc::Latin1)
        .audio(4)
        .build();
}

// iTunes 8's ID3v2.4 with sizes that are not syncsafe, and a cover before the text.
QByteArray ItunesV24() {
    return Id3Builder(4)
        .plainFrameSizes()
        .picture(9000)
        .text("TIT2", "Clocks")
        .text("TPE1", "Coldplay")
        .text("TALB", "A Rush of Blood to the Head")
        .text("TDRC", "2002")
        .comment("iTunNORM", " 00000A2F")
        .padding(512)
        .audio(4)
        .build();
}

TEST(TaggerFiles, ReadAsACarefulReaderWould) {
    test::ExpectTagFiles({
        {"winamp-v1.1",
         WinampV11(),
         {"Smells Like Teen Spirit", "Nirvana", "Nevermind", "1991", "", "Rock"}},
        {"itunes-v2.2",
         ItunesV22(),
         {"Intro", "Sigur Rós ☂", "Ágætis byrjun", "1999", " ", "Alternative"}},
        {"windows-v2.3-utf16",
         WindowsV23(),
         {"Déjà vu", "Beyoncé", "B'Day", "2006", "From the disc", "R&B"}},
        {"cli-v2.3-latin1-and-v1",
         CommandLineV23(),
         {"A Title Longer Than Thirty Characters", "Artist", "Album", "1994", "Ripped", "Rock"}},
        {"foobar-v2.4-utf8",
         Utf8V24(),
         {"One More Time", "Daft Punk/Romanthony", "Discovery", "2001", "Ça commence ♪",
          "Electronic"}},
        {"eyed3-v2.4-utf16", Utf16V24(), {"夜に駆ける", "YOASOBI", " ", "2019", " ", "Pop"}},
        {"itunes-v2.4-plain-sizes",
         ItunesV24(),
         {"Clocks", "Coldplay", "A Rush of Blood to the Head", "2002", " ", " "}},
    });
}

} // namespace
} // namespace tarl
