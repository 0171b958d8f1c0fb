#include "TagFileCases.h"
#include "support/Id3Builder.h"

#include <cstddef>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::Id3Builder;
using test::Id3Enc;
using test::Id3v1Fields;

// Bytes of a literal, NULs included.
template <std::size_t N> QByteArray B(const char (&data)[N]) {
    return QByteArray(data, N - 1);
}

Id3v1Fields V1(const QByteArray& title, const QByteArray& artist = "", const QByteArray& album = "",
               const QByteArray& year = "", const QByteArray& comment = "", int genre = 255) {
    return {title, artist, album, year, comment, genre};
}

// A v2.3 tag of audio and an ID3v1 trailer, the usual shape of a tagged file.
QByteArray V23(Id3Builder builder) {
    return builder.audio(2)
        .v1(V1("V1 Title", "V1 Artist", "V1 Album", "1980", "V1 Comment", 0))
        .build();
}

const TagFields kV1Only{"V1 Title", "V1 Artist", "V1 Album", "1980", "V1 Comment", "Blues"};

TagFields WithTitle(const QString& title) {
    TagFields f = kV1Only;
    f.title = title;
    return f;
}

TEST(ReadId3, Id3v1Trailer) {
    Id3v1Fields spaces = V1("Four", "Band", "Disc", "1999", "Fine", 17);
    spaces.pad = ' ';
    Id3v1Fields nuls = V1("Four", "Band", "Disc", "1999", "Fine", 17);
    Id3v1Fields track = V1("T", "", "", "", "Nice", 12);
    track.track = 7;
    Id3v1Fields blanks = V1("  Song  ", "\tTabbed\t", "", "", "", 0);
    blanks.pad = ' ';
    Id3v1Fields lowercase = V1("Nope");
    QByteArray lower = Id3Builder::v1Trailer(lowercase);
    lower[0] = 't';
    const QByteArray onlyTrailer = Id3Builder::v1Trailer(V1("Alone", "", "", "", "", 1));

    test::ExpectTagFiles({
        {"v1-space-padded",
         Id3Builder(0).audio(3).v1(spaces).build(),
         {"Four", "Band", "Disc", "1999", "Fine", "Rock"}},
        // Fields end at their first NUL; earlier catalogs kept the padding.
        {"v1-nul-padded",
         Id3Builder(0).audio(3).v1(nuls).build(),
         {"Four", "Band", "Disc", "1999", "Fine", "Rock"}},
        {"v1-nul-inside",
         Id3Builder(0).v1(V1(B("Ab\0cd"), "x", "", "", "", 125)).build(),
         {"Ab", "x", "", "", "", "Dance Hall"}},
        {"v1-trims-spaces-only",
         Id3Builder(0).v1(blanks).build(),
         {"Song", "\tTabbed\t", "", "", "", "Blues"}},
        // ID3v1.1: the track number after the comment's NUL is not comment text.
        {"v1.1-track", Id3Builder(0).v1(track).build(), {"T", "", "", "", "Nice", "Other"}},
        {"v1-windows-1252",
         Id3Builder(0)
             .v1(V1("Caf\xE9 \x80", "\x8A"
                                    "a"))
             .build(),
         {"Café €", "Ša", "", "", "", " "}},
        {"v1-genre-126",
         Id3Builder(0).v1(V1("g", "", "", "", "", 126)).build(),
         {"g", "", "", "", "", "Goa"}},
        {"v1-genre-255",
         Id3Builder(0).v1(V1("g", "", "", "", "", 255)).build(),
         {"g", "", "", "", "", " "}},
        {"v1-lowercase-tag", Id3Builder(0).audio(1).build() + lower, {}},
        {"v1-file-is-trailer", onlyTrailer, {"Alone", "", "", "", "", "Classic Rock"}},
        {"v1-shorter-than-trailer", onlyTrailer.mid(1), {}},
        {"no-tag", Id3Builder(0).audio(4).build(), {}},
        {"empty-file", QByteArray(), {}},
    });
}

TEST(ReadId3, FramesAreWalkedWithTheirFullSizes) {
    const QString longTitle(299, u'x');
    const QString longer(200, u'y');
    // A TXXX whose value looks like a TIT2 frame: a search through the tag would take it.
    const QByteArray decoy = B("\0desc\0TIT2\0\0\0\x05\0\0\0Fake");
    test::ExpectTagFiles({
        {"v23-basic",
         V23(Id3Builder(3)
                 .text("TIT2", "Title")
                 .text("TPE1", "Artist")
                 .text("TALB", "Album")
                 .text("TYER", "2001")
                 .text("TCON", "Pop")),
         {"Title", "Artist", "Album", "2001", "V1 Comment", "Pop"}},
        // Size bytes 0,0,1,44: earlier catalogs took 43 characters.
        {"v23-size-300",
         V23(Id3Builder(3).text("TIT2", longTitle).text("TALB", "After")),
         {longTitle, "V1 Artist", "After", "1980", "V1 Comment", "Blues"}},
        {"v24-syncsafe-size",
         V23(Id3Builder(4).text("TIT2", longer).text("TALB", "After")),
         {longer, "V1 Artist", "After", "1980", "V1 Comment", "Blues"}},
        {"v22-size-3-bytes",
         V23(Id3Builder(2).text("TT2", longer).text("TAL", "After")),
         {longer, "V1 Artist", "After", "1980", "V1 Comment", "Blues"}},
        {"v23-id-inside-data", V23(Id3Builder(3).frame("TXXX", decoy).text("TIT2", "Real")),
         WithTitle("Real")},
        {"v23-after-padding",
         V23(Id3Builder(3)
                 .text("TIT2", "T")
                 .raw(QByteArray(20, '\0'))
                 .raw(B("TALB\0\0\0\x04\0\0\0Pad"))),
         WithTitle("T")},
        {"v23-zero-size-frame", V23(Id3Builder(3).frame("TIT2", "").text("TIT2", "Second")),
         WithTitle("Second")},
        {"v23-empty-text", V23(Id3Builder(3).frame("TIT2", B("\0"))), WithTitle("")},
        {"v23-first-frame-counts", V23(Id3Builder(3).text("TIT2", "One").text("TIT2", "Two")),
         WithTitle("One")},
        {"v23-unknown-frames-skipped",
         V23(Id3Builder(3).frame("PRIV", QByteArray(500, '\xFF')).picture(3000).text("TIT2", "T")),
         WithTitle("T")},
    });
}

TEST(ReadId3, TextEncodingsAndTerminators) {
    const QString mixed = QString::fromUtf8("Ünïcødé ♫ 😀");
    test::ExpectTagFiles({
        {"v23-trailing-nul", V23(Id3Builder(3).text("TIT2", "Title", Id3Enc::Latin1, true)),
         WithTitle("Title")},
        {"v23-text-ends-at-nul", V23(Id3Builder(3).frame("TIT2", B("\0A\0B"))), WithTitle("A")},
        {"v23-utf16-le-bom", V23(Id3Builder(3).text("TIT2", mixed, Id3Enc::Utf16, true)),
         WithTitle(mixed)},
        {"v23-utf16-be-bom", V23(Id3Builder(3).frame("TIT2", B("\x01\xFE\xFF\0H\0i\0\0"))),
         WithTitle("Hi")},
        {"v24-utf16be", V23(Id3Builder(4).text("TIT2", mixed, Id3Enc::Utf16Be, true)),
         WithTitle(mixed)},
        {"v24-utf8", V23(Id3Builder(4).text("TIT2", mixed, Id3Enc::Utf8, true)), WithTitle(mixed)},
        {"v24-values-joined",
         V23(Id3Builder(4)
                 .texts("TPE1", {"A", "B"}, Id3Enc::Utf8)
                 .texts("TIT2", {"x", "y"}, Id3Enc::Utf16)
                 .texts("TCON", {"17", "Jazz"}, Id3Enc::Latin1)),
         {"x/y", "A/B", "V1 Album", "1980", "V1 Comment", "Rock/Jazz"}},
        {"v24-empty-values-dropped", V23(Id3Builder(4).frame("TIT2", B("\3A\0\0B\0"))),
         WithTitle("A/B")},
        {"v23-unknown-encoding", V23(Id3Builder(3).frame("TIT2", B("\7Title"))), kV1Only},
        {"v23-utf16-encoding-only", V23(Id3Builder(3).frame("TIT2", B("\1"))), WithTitle("")},
    });
}

TEST(ReadId3, VersionsYearsAndArtists) {
    test::ExpectTagFiles({
        {"v24-tdrc",
         V23(Id3Builder(4).text("TDRC", "2003-04-05T10:00", Id3Enc::Utf8)),
         {"V1 Title", "V1 Artist", "V1 Album", "2003", "V1 Comment", "Blues"}},
        {"v24-tdrc-before-tyer",
         V23(Id3Builder(4).text("TYER", "1990").text("TDRC", "2005")),
         {"V1 Title", "V1 Artist", "V1 Album", "2005", "V1 Comment", "Blues"}},
        {"v24-tyer-only",
         V23(Id3Builder(4).text("TYER", "1990")),
         {"V1 Title", "V1 Artist", "V1 Album", "1990", "V1 Comment", "Blues"}},
        {"v23-tyer-before-tdrc",
         V23(Id3Builder(3).text("TDRC", "2005").text("TYER", "1990")),
         {"V1 Title", "V1 Artist", "V1 Album", "1990", "V1 Comment", "Blues"}},
        {"v23-tdrc-only",
         V23(Id3Builder(3).text("TDRC", "2007-01")),
         {"V1 Title", "V1 Artist", "V1 Album", "2007", "V1 Comment", "Blues"}},
        {"v22-all-fields",
         V23(Id3Builder(2)
                 .text("TT2", "Title")
                 .text("TOA", "Original")
                 .text("TP1", "Lead")
                 .text("TAL", "Album")
                 .text("TYE", "1999")
                 .text("TCO", "(17)")
                 .comment("", "Said")),
         {"Title", "Lead", "Album", "1999", "Said", "Rock"}},
        {"v22-toa-without-tp1",
         V23(Id3Builder(2).text("TOA", "Original")),
         {"V1 Title", "Original", "V1 Album", "1980", "V1 Comment", "Blues"}},
        // Only v2.2 ever put the performer in the original-artist frame.
        {"v23-tope-not-artist", V23(Id3Builder(3).text("TOPE", "Original")), kV1Only},
        {"v22-compressed-tag-ignored", V23(Id3Builder(2).text("TT2", "T").headerFlags(0x40)),
         kV1Only},
        {"version-5-ignored",
         [] {
             QByteArray file = V23(Id3Builder(3).text("TIT2", "T"));
             file[3] = 5;
             return file;
         }(),
         kV1Only},
        {"not-id3-ignored",
         [] {
             QByteArray file = V23(Id3Builder(3).text("TIT2", "T"));
             file[0] = 'x';
             return file;
         }(),
         kV1Only},
        {"v24-only-tag", Id3Builder(4).text("TIT2", "Only").build(), {"Only"}},
    });
}

TEST(ReadId3, UnsynchronisationAndExtendedHeaders) {
    // "ÿà" is 0xFF 0xE0 in Latin-1: unsynchronisation puts a 0x00 between them.
    const QString sync = QString::fromUtf8("ÿà");
    auto tag = [&](int version) {
        const QByteArray title = version == 2 ? "TT2" : "TIT2";
        const QByteArray artist = version == 2 ? "TP1" : "TPE1";
        Id3Builder b(version);
        b.picture(700)
            .text(title, sync)
            .text(artist, QString::fromUtf8("Artÿ"))
            .frame(version == 2 ? "TAL" : "TALB", B("\0\xFF"));
        return b;
    };
    const TagFields expected{
        sync, QString::fromUtf8("Artÿ"), QString::fromUtf8("ÿ"), "1980", "V1 Comment", "Blues"};
    test::ExpectTagFiles({
        {"v22-unsync", V23(tag(2).unsynchronise()), expected},
        {"v23-unsync", V23(tag(3).unsynchronise()), expected},
        {"v24-unsync-tag-flag", V23(tag(4).unsynchronise()), expected},
        {"v24-unsync-frame-flags", V23(tag(4).unsynchroniseFrames()), expected},
        {"v24-unsync-data-length", V23(tag(4).unsynchroniseFrames().dataLengthIndicators()),
         expected},
        {"v23-extended-crc-unsync", V23(tag(3).extendedHeader(true).unsynchronise().padding(64)),
         expected},
        {"v24-extended-crc-unsync", V23(tag(4).extendedHeader(true).unsynchroniseFrames()),
         expected},
        // Without the flag the bytes are taken as they stand.
        {"v23-no-unsync-flag", V23(Id3Builder(3).frame("TIT2", B("\0\xFF\0x"))),
         WithTitle(QString::fromUtf16(u"\u00FF"))},
    });
}

TEST(ReadId3, FrameFlags) {
    test::ExpectTagFiles({
        {"v23-compressed-skipped",
         V23(Id3Builder(3).frame("TIT2", B("\0\0\0\x10x\x9C\x01\x02"), 0x0080)), kV1Only},
        {"v23-encrypted-skipped", V23(Id3Builder(3).frame("TIT2", B("\x81\0Secret"), 0x0040)),
         kV1Only},
        {"v23-skipped-then-plain",
         V23(Id3Builder(3).frame("TIT2", B("\x81\0Secret"), 0x0040).text("TIT2", "Plain")),
         WithTitle("Plain")},
        {"v23-grouped", V23(Id3Builder(3).frame("TIT2", B("\x05\0Grouped"), 0x0020)),
         WithTitle("Grouped")},
        {"v24-compressed-skipped",
         V23(Id3Builder(4).frame("TIT2", B("\0\0\0\x10x\x9C\x01\x02"), 0x0009)), kV1Only},
        {"v24-encrypted-skipped", V23(Id3Builder(4).frame("TIT2", B("\x81\3Secret"), 0x0004)),
         kV1Only},
        {"v24-grouped", V23(Id3Builder(4).frame("TIT2", B("\x05\3Grouped"), 0x0040)),
         WithTitle("Grouped")},
    });
}

TEST(ReadId3, GenresAndComments) {
    auto genre = [](const QString& text) {
        TagFields f = kV1Only;
        f.genre = text;
        return f;
    };
    auto comments = [](const QString& text) {
        TagFields f = kV1Only;
        f.comments = text;
        return f;
    };
    test::ExpectTagFiles({
        {"v23-genre-reference", V23(Id3Builder(3).text("TCON", "(17)")), genre("Rock")},
        {"v23-genre-refined", V23(Id3Builder(3).text("TCON", "(17)Rock")), genre("Rock")},
        {"v22-genre-reference", V23(Id3Builder(2).text("TCO", "(125)")), genre("Dance Hall")},
        {"v23-genre-extended", V23(Id3Builder(3).text("TCON", "(147)")), genre("Synthpop")},
        {"v23-genre-nameless", V23(Id3Builder(3).text("TCON", "(255)")), genre(" ")},
        {"v23-comm", V23(Id3Builder(3).comment("", "Hello")), comments("Hello")},
        {"v23-comm-itunes-skipped",
         V23(Id3Builder(3)
                 .comment("iTunNORM", " 00000280 00000262 00001D4F")
                 .comment("iTunSMPB", " 00000000 00000210")
                 .comment("", "Mine")),
         comments("Mine")},
        {"v23-comm-described", V23(Id3Builder(3).comment("Notes", "Noted")), comments("Noted")},
        {"v23-comm-undescribed-wins",
         V23(Id3Builder(3).comment("Notes", "Noted").comment("", "Plain")), comments("Plain")},
        {"v23-comm-itunes-only", V23(Id3Builder(3).comment("iTunNORM", " 0000")), kV1Only},
        {"v23-comm-utf16", V23(Id3Builder(3).comment("", "Ünï", Id3Enc::Utf16)), comments("Ünï")},
        {"v24-comm-utf8-lines", V23(Id3Builder(4).comment("", "one\r\ntwo", Id3Enc::Utf8)),
         comments("one\r\ntwo")},
        {"v23-comm-no-terminator", V23(Id3Builder(3).frame("COMM", B("\0engJust text"))),
         comments("Just text")},
        {"v23-comm-short", V23(Id3Builder(3).frame("COMM", B("\0en"))), kV1Only},
        {"v23-comm-text-ends-at-nul", V23(Id3Builder(3).frame("COMM", B("\0eng\0Said\0junk"))),
         comments("Said")},
    });
}

TEST(ReadId3, BadSizesAndTruncation) {
    const QByteArray withV1 =
        Id3Builder(0)
            .audio(1)
            .v1(V1("V1 Title", "V1 Artist", "V1 Album", "1980", "V1 Comment", 0))
            .build();
    auto v23 = [](Id3Builder b) { return b.build(); };
    QByteArray zeroFrames;
    for (int i = 0; i < 20000; ++i)
        zeroFrames += B("TXXX\0\0\0\0\0\0");
    test::ExpectTagFiles({
        // A bogus size drops the v2 tag but not the trailer.
        {"tag-larger-than-file", V23(Id3Builder(3).text("TIT2", "T").claimTagSize(100000)),
         kV1Only},
        {"tag-size-not-syncsafe",
         V23(Id3Builder(3).text("TIT2", "T").tagSizeBytes(B("\0\0\x80\x10"))), kV1Only},
        {"tag-is-whole-file", Id3Builder(3).text("TIT2", "Whole").build(), {"Whole"}},
        {"id3-only", QByteArray("ID3"), {}},
        {"header-only", B("ID3\3\0\0\0\0\0\0"), {}},
        {"header-cut", B("ID3\3\0\0\0\0"), {}},
        {"frame-beyond-tag",
         V23(Id3Builder(3).text("TPE1", "Kept").frameClaiming("TIT2", 0xFFFFFFFF, "\0x")),
         {"V1 Title", "Kept", "V1 Album", "1980", "V1 Comment", "Blues"}},
        {"v24-frame-beyond-tag",
         V23(Id3Builder(4).text("TPE1", "Kept").frameClaiming("TIT2", 0x0FFFFFFF, "\0x")),
         {"V1 Title", "Kept", "V1 Album", "1980", "V1 Comment", "Blues"}},
        {"frame-header-cut",
         v23(Id3Builder(3).text("TPE1", "Kept").raw("TIT2\0\0")),
         {" ", "Kept"}},
        {"bad-frame-id-stops",
         V23(Id3Builder(3).text("TPE1", "Kept").frame("ti t", "\0x").text("TIT2", "Lost")),
         {"V1 Title", "Kept", "V1 Album", "1980", "V1 Comment", "Blues"}},
        {"text-frame-over-1mib",
         V23(Id3Builder(3).text("TIT2", QString(1100000, u'x')).text("TALB", "Next")),
         {"V1 Title", "V1 Artist", "Next", "1980", "V1 Comment", "Blues"}},
        {"extended-header-too-large",
         V23(Id3Builder(3).headerFlags(0x40).raw(B("\0\xFF\xFF\xFF")).text("TIT2", "T")), kV1Only},
        {"v24-extended-header-too-small",
         V23(Id3Builder(4).headerFlags(0x40).raw(B("\0\0\0\2")).text("TIT2", "T")), kV1Only},
        {"many-zero-size-frames", V23(Id3Builder(3).raw(zeroFrames).text("TIT2", "End")),
         WithTitle("End")},
        {"v1-only-baseline", withV1, kV1Only},
    });
}

TEST(ReadId3, ItunesPlainFrameSizesInV24) {
    const QString longer(200, u'z');
    // 300 bytes: size bytes 0,0,1,44, which read as syncsafe stop inside the text.
    const QString lastTitle(299, u'z');
    test::ExpectTagFiles({
        {"v24-plain-sizes",
         V23(Id3Builder(4).plainFrameSizes().picture(300).text("TIT2", longer).text("TALB", "A")),
         {longer, "V1 Artist", "A", "1980", "V1 Comment", "Blues"}},
        // Plain size bytes above 0x7F cannot be syncsafe at all.
        {"v24-plain-size-high-byte",
         V23(Id3Builder(4).plainFrameSizes().picture(200).text("TIT2", "After")),
         WithTitle("After")},
        {"v24-plain-last-frame",
         V23(Id3Builder(4).plainFrameSizes().text("TALB", "A").text("TIT2", lastTitle)),
         {lastTitle, "V1 Artist", "A", "1980", "V1 Comment", "Blues"}},
    });
}

} // namespace
} // namespace tarl
