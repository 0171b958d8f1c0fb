#include "CountingBuffer.h"
#include "TagPrinters.h"
#include "support/FuzzSeeds.h"
#include "support/Id3Builder.h"
#include "support/TempDir.h"
#include "tags/Id3v2Frames.h"
#include "tags/ReadId3.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace tarl {
namespace {

using test::CountingBuffer;
using test::Id3Builder;
using test::Id3Enc;
using test::Id3v1Fields;

const Id3v1Fields kTrailer{"V1", "", "", "", "", 0};

TEST(ReadBounds, OnlyTheTagBytesAreRead) {
    const struct {
        const char* name;
        Id3Builder tag;
        qint64 audioFrames;
        const char* title;
        qint64 mostBytes; // read in all
    } cases[] = {
        // The header, the tag and the trailer; never the audio.
        {"plain", Id3Builder(3).text("TIT2", "T").padding(1000), 2500, "T", -1},
        // A cover is stepped over, not read.
        {"cover-skipped", Id3Builder(3).picture(2000000).text("TIT2", "After"), 10, "After",
         64 * 1024 + 128 + 10 + 30},
        {"v24-cover-skipped", Id3Builder(4).picture(2000000).text("TIT2", "After"), 10, "After",
         64 * 1024 + 128 + 10 + 30},
        // Unsynchronised data must be read through to find where frames end.
        {"unsynchronised-cover",
         Id3Builder(3).picture(300000).text("TIT2", "After").unsynchronise(), 10, "After", -1},
        // Sizes beyond the file read nothing more.
        {"frame-claims-too-much",
         Id3Builder(3).text("TIT2", "T").frameClaiming("TALB", 0x7FFFFFFF, "\0x"), 2500, "T", -1},
        {"tag-claims-too-much", Id3Builder(3).text("TIT2", "T").claimTagSize(0x0FFFFFFF), 2500,
         "V1", 10 + 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray tag = c.tag.tag();
        const QByteArray file =
            tag + Id3Builder::mpegFrames(c.audioFrames) + Id3Builder::v1Trailer(kTrailer);
        test::SaveFuzzSeed("id3", QStringLiteral("bounds-%1").arg(c.name), file);
        CountingBuffer device(file);
        const TagFields fields = ReadId3(device);
        EXPECT_EQ(fields.title, QString::fromLatin1(c.title));
        EXPECT_EQ(fields.fileLength, file.size());
        const qint64 most = c.mostBytes >= 0 ? c.mostBytes : tag.size() + 128;
        EXPECT_LE(device.bytesRead, most);
        // Memory follows the reads: no request is sized by what a header claims.
        EXPECT_LE(device.largestRead, 64 * 1024);
    }
}

TEST(ReadBounds, FilesThatCannotBeRead) {
    test::TempDir dir;
    const QString fifo = dir.file("pipe.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkpath(dir.file("folder.mp3"));
    const QString unreadable = dir.write("locked.mp3", Id3Builder(3).text("TIT2", "T").build());
    chmod(QFile::encodeName(unreadable).constData(), 0);
    const bool canLock = geteuid() != 0; // root reads whatever the mode says

    const QString paths[] = {dir.file("missing.mp3"), dir.file("folder.mp3"), fifo, unreadable};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        if (path == unreadable && !canLock)
            continue;
        const Result<TagFields> read = ReadId3(path);
        EXPECT_FALSE(read);
        EXPECT_FALSE(read.error.isEmpty());
        EXPECT_EQ(read.value, TagFields());
    }
}

TEST(ReadBounds, FramesFromATagBodyInMemory) {
    // The body entry point takes the tag's flags, so unsynchronisation is undone there too.
    const Id3Builder tag = Id3Builder(3)
                               .picture(500)
                               .text("TIT2", QString::fromUtf8("ÿà"), Id3Enc::Latin1)
                               .unsynchronise();
    TagFields fields;
    ReadId3v2Frames(tag.body(), 3, fields, 0x80);
    EXPECT_EQ(fields.title, QString::fromUtf8("ÿà"));
    TagFields untouched;
    ReadId3v2Frames(tag.body(), 1, untouched, 0x80);
    EXPECT_EQ(untouched, TagFields());
}

} // namespace
} // namespace tarl
