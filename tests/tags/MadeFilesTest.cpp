// Files made by the encoders' own command-line tools, each tagged by the tool's own tag writer,
// read back the way the import reads every track.
#include "CountingBuffer.h"
#include "TagPrinters.h"
#include "support/FuzzSeeds.h"
#include "support/Id3Builder.h"
#include "support/TempDir.h"
#include "tags/AudioFormat.h"
#include "tags/ReadOtherTags.h"
#include "tags/ReadTrackTags.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

namespace tarl {
namespace {

// The fuzz target's seeds: the format's number, then as much of the file as it takes.
constexpr qint64 kLargestSeed = 256 * 1024;

const QString kTitle = QStringLiteral("Été à l'Opéra");

struct Recipe {
    const char* name; // the file made
    const char* program;
    QStringList arguments;
    TagFields expected; // fileLength is the made file's size
};

TagFields Tagged(const QString& title, const QString& artist, qint64 seconds) {
    TagFields f{title, artist, "Live", "2003", "First take", "Jazz"};
    f.seconds = seconds;
    return f;
}

TagFields Untagged(qint64 seconds) {
    TagFields f;
    f.seconds = seconds;
    return f;
}

// short.wav lasts 3 seconds, long.wav 61; both 44.1 kHz, stereo, 16 bits.
const std::vector<Recipe>& Recipes() {
    const QString t = kTitle;
    static const std::vector<Recipe> recipes = {
        {"tagged.flac",
         "flac",
         {"--silent", "--tag=TITLE=" + t, "--tag=ARTIST=Ann", "--tag=ARTIST=Bob",
          "--tag=ALBUM=Live", "--tag=DATE=2003-05-01", "--tag=GENRE=Jazz",
          "--tag=COMMENT=First take", "-o", "tagged.flac", "short.wav"},
         Tagged(t, "Ann/Bob", 3)},
        {"untagged.flac", "flac", {"--silent", "-o", "untagged.flac", "long.wav"}, Untagged(61)},
        // .oga usually holds FLAC in Ogg, not Vorbis; some taggers keep the comment as a
        // description.
        {"flac.oga",
         "flac",
         {"--silent", "--ogg", "--tag=TITLE=" + t, "--tag=ARTIST=Ann", "--tag=ALBUM=Live",
          "--tag=DATE=2003", "--tag=GENRE=Jazz", "--tag=DESCRIPTION=First take", "-o", "flac.oga",
          "short.wav"},
         Tagged(t, "Ann", 3)},
        {"tagged.ogg",
         "oggenc",
         {"--quiet", "-t", t, "-c", "ARTIST=Ann", "-c", "ARTIST=Bob", "-l", "Live", "-d",
          "2003-05-01", "-G", "Jazz", "-c", "COMMENT=First take", "-o", "tagged.ogg", "long.wav"},
         Tagged(t, "Ann/Bob", 61)},
        // A date as some taggers write it, the year not first.
        {"tagged.opus",
         "opusenc",
         {"--quiet", "--title", t, "--artist", "Ann", "--artist", "Bob", "--album", "Live",
          "--date", "May 2003", "--genre", "Jazz", "--comment", "COMMENT=First take", "short.wav",
          "tagged.opus"},
         Tagged(t, "Ann/Bob", 3)},
        {"tagged.m4a",
         "ffmpeg",
         {"-loglevel",          "error",     "-y",         "-i",
          "short.wav",          "-metadata", "title=" + t, "-metadata",
          "artist=Ann",         "-metadata", "album=Live", "-metadata",
          "date=2003-05-01",    "-metadata", "genre=Jazz", "-metadata",
          "comment=First take", "-c:a",      "aac",        "tagged.m4a"},
         Tagged(t, "Ann", 3)},
        // Constant bit rate with an Info header (its frame count), and without one (the size).
        {"cbr.mp3",
         "lame",
         {"--quiet", "-b", "128", "--add-id3v2", "--tt", t, "--ta", "Ann", "--tl", "Live", "--ty",
          "2003", "--tg", "Jazz", "--tc", "First take", "long.wav", "cbr.mp3"},
         Tagged(t, "Ann", 61)},
        {"cbr-no-info.mp3",
         "lame",
         {"--quiet", "-b", "128", "-t", "long.wav", "cbr-no-info.mp3"},
         Untagged(61)},
        {"vbr.mp3", "lame", {"--quiet", "-V", "4", "long.wav", "vbr.mp3"}, Untagged(61)},
        // A variable bit rate without a Xing frame to say so: its frames are counted.
        {"vbr-no-xing.mp3",
         "lame",
         {"--quiet", "-V", "4", "-t", "varied.wav", "vbr-no-xing.mp3"},
         Untagged(61)},
        // MPEG 2 and 2.5, whose layer III frames hold 576 samples.
        {"mpeg2.mp3",
         "lame",
         {"--quiet", "--resample", "22.05", "-b", "64", "-t", "long.wav", "mpeg2.mp3"},
         Untagged(61)},
        {"mpeg25.mp3",
         "lame",
         {"--quiet", "--resample", "8", "-b", "16", "-t", "short.wav", "mpeg25.mp3"},
         Untagged(3)},
        {"layer2.mp3",
         "ffmpeg",
         {"-loglevel", "error", "-y", "-i", "short.wav", "-c:a", "mp2", "-b:a", "192k", "-f", "mp2",
          "layer2.mp3"},
         Untagged(3)},
        {"tone.wav",
         "sox",
         {"-n", "-r", "44100", "-c", "2", "-b", "16", "tone.wav", "synth", "3", "sine", "440"},
         Untagged(3)},
        {"tone.wma",
         "ffmpeg",
         {"-loglevel", "error", "-y", "-i", "long.wav", "-c:a", "wmav2", "tone.wma"},
         Untagged(61)},
        // Tags in the formats' own places: a WAV's LIST INFO chunk, a WMA's ASF attributes.
        {"tagged.wav",
         "ffmpeg",
         {"-loglevel", "error", "-y", "-i", "short.wav", "-metadata", "title=" + t, "-metadata",
          "artist=Ann", "-metadata", "album=Live", "-metadata", "date=2003", "-metadata",
          "genre=Jazz", "-metadata", "comment=First take", "tagged.wav"},
         Tagged(t, "Ann", 3)},
        {"tagged.wma",
         "ffmpeg",
         {"-loglevel", "error", "-y", "-i", "short.wav", "-metadata", "title=" + t, "-metadata",
          "artist=Ann", "-metadata", "album=Live", "-metadata", "date=2003", "-metadata",
          "genre=Jazz", "-c:a", "wmav2", "tagged.wma"},
         // This writer keeps the date under a name of its own, not WM/Year.
         [t] {
             TagFields f = Tagged(t, "Ann", 3);
             f.year = f.comments = QStringLiteral(" ");
             return f;
         }()},
    };
    return recipes;
}

// One folder of made files for every test here: encoding takes seconds, reading milliseconds.
class MadeFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<test::TempDir>();
        const QString shortWav = Make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16",
                                              "short.wav", "synth", "3", "sine", "440"});
        const QString longWav = Make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", "long.wav",
                                             "synth", "61", "sine", "440"});
        // Loud and quiet in turn, so a variable bit rate varies.
        Make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", "varied.wav", "synth", "61",
                     "whitenoise", "tremolo", "0.1", "100"});
        const QString noWav = !shortWav.isEmpty() ? shortWav : longWav;
        for (const Recipe& r : Recipes()) {
            const QString why = noWav.isEmpty() ? Make(r.program, r.arguments) : noWav;
            if (!why.isEmpty())
                unmade_.insert(QString::fromLatin1(r.name), why);
        }
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // Runs `program` in the folder; empty when it worked, else why not.
    static QString Make(const char* program, const QStringList& arguments) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (found.isEmpty())
            return QStringLiteral("%1 is not installed").arg(program);
        QProcess process;
        process.setWorkingDirectory(dir_->path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL",
                   "C.UTF-8"); // the tools read their tag arguments in the locale's encoding
        process.setProcessEnvironment(env);
        process.start(found, arguments);
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            return QStringLiteral("%1 failed: %2").arg(program, process.readAllStandardError());
        return {};
    }

    static QString path(const char* name) { return dir_->file(QString::fromLatin1(name)); }

    static inline std::unique_ptr<test::TempDir> dir_;
    static inline QHash<QString, QString> unmade_; // file name -> why it was not made
};

TEST_F(MadeFiles, TagsAndLengthsAreWhatTheToolsWrote) {
    QStringList skipped;
    for (const Recipe& r : Recipes()) {
        SCOPED_TRACE(r.name);
        if (unmade_.contains(r.name)) {
            skipped << unmade_.value(r.name);
            continue;
        }
        const QString file = path(r.name);
        TagFields expected = r.expected;
        expected.fileLength = QFileInfo(file).size();
        const Result<TagFields> read = ReadTrackTags(file);
        EXPECT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value, expected);

        QFile in(file);
        if (in.open(QIODevice::ReadOnly)) {
            const auto format = static_cast<char>(*FormatOfFileName(file));
            test::SaveFuzzSeed("audio_tags", r.name,
                               QByteArray(1, format) + in.read(kLargestSeed - 1));
        }
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "not made: " << skipped.join("; ").toStdString();
}

// What TagLib would read through a whole file for, and is kept from.
TEST_F(MadeFiles, NoWholeFileReads) {
    for (const char* name : {"tagged.flac", "tagged.ogg"}) {
        if (unmade_.contains(name))
            GTEST_SKIP() << unmade_.value(name).toStdString();
    }
    QFile flac(path("tagged.flac"));
    QFile ogg(path("tagged.ogg"));
    ASSERT_TRUE(flac.open(QIODevice::ReadOnly) && ogg.open(QIODevice::ReadOnly));
    const QByteArray flacBytes = flac.readAll();
    const QByteArray oggBytes = ogg.readAll();
    constexpr qint64 kBudget = 32 * 1024 * 1024;
    const struct {
        const char* name;
        AudioFormat format;
        QByteArray bytes;
        QString title;
        qint64 most; // bytes read
    } cases[] = {
        // TagLib looks for the stream's start through the whole file.
        {"junk-named-flac", AudioFormat::Flac, QByteArray(8 << 20, 'j'), " ", 14},
        {"flac-after-an-id3v2-tag", AudioFormat::Flac,
         test::Id3Builder(3).text("TIT2", "From ID3").padding(5000).tag() + flacBytes, kTitle,
         64 * 1024},
        // TagLib looks for the last page backwards from the end.
        {"ogg-with-a-long-tail", AudioFormat::Ogg, oggBytes + QByteArray(48 << 20, '\0'), kTitle,
         kBudget},
    };
    for (const auto& c : cases) {
        test::CountingBuffer device(c.bytes);
        EXPECT_EQ(ReadOtherTags(c.format, device).value.title, c.title) << c.name;
        EXPECT_LE(device.bytesRead, c.most) << c.name;
    }
}

} // namespace
} // namespace tarl
