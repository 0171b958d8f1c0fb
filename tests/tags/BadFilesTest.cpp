// Files that are not what their names say, or not there: the defaults, the file's size, and a
// reason the status bar can show.
#include "TagPrinters.h"
#include "support/FuzzSeeds.h"
#include "support/TempDir.h"
#include "tags/ReadOtherTags.h"
#include "tags/ReadTrackTags.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarl {
namespace {

const QByteArray kJunk = QByteArray("junk ").repeated(200);

TEST(BadFiles, NamedFormatsThatAreNot) {
    test::TempDir dir;
    dir.write("folder.flac/inside", "x");
    const struct {
        const char* name;
        QByteArray bytes;  // null: nothing written
        const char* error; // empty: read, without a length
    } cases[] = {
        {"junk.flac", kJunk, "not a FLAC file"},
        {"junk.ogg", kJunk, "not an Ogg Vorbis, Opus or FLAC file"},
        {"junk.m4a", kJunk, "not an MP4 file"},
        {"empty.opus", "", "not an Ogg Vorbis, Opus or FLAC file"},
        // An Ogg page that opens no stream TagLib knows.
        {"speex.ogg", QByteArray("OggS\0\2", 6) + QByteArray(22, '\0') + "Speex   ",
         "not an Ogg Vorbis, Opus or FLAC file"},
        // A raw AAC stream in an MP4 file's name has no atoms.
        {"adts.m4a", QByteArray("\xFF\xF1\x50\x80", 4) + kJunk, "not an MP4 file"},
        // Read as the import always read them: whatever ID3 tags there are, and no length.
        {"junk.wav", kJunk, ""},
        {"junk.mp3", kJunk, ""},
        {"missing.flac", QByteArray(), "no such file"},
        {"folder.flac", QByteArray(), "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name);
        if (!c.bytes.isNull())
            dir.write(name, c.bytes);
        const Result<TagFields> read = ReadTrackTags(dir.file(name));
        EXPECT_EQ(read.ok, QByteArrayView(c.error).isEmpty());
        EXPECT_EQ(read.error, QString::fromLatin1(c.error));
        TagFields expected;
        expected.fileLength = c.bytes.size();
        EXPECT_EQ(read.value, expected);
    }
}

} // namespace
} // namespace tarl
