// A folder of every sound format the import knows, made by the encoders' own tools and tagged
// by their own tag writers, walked and imported as the scan window does: each track arrives with
// its tags and its length, and the MP3 lengths agree with the player's.
#include "ScanImportFixture.h"
#include "platform/LocalFiles.h"
#include "scan/ScanWalker.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tarl::test {
namespace {

class ImportFormats : public ScanImport {
protected:
    // Runs a tool in the music folder; false when it fails.
    bool make(const QString& program, const QStringList& arguments) {
        QProcess tool;
        tool.setWorkingDirectory(root + "music");
        tool.start(program, arguments);
        return tool.waitForFinished(60000) && tool.exitCode() == 0;
    }

    // The player's own length of a file, in seconds; negative when it cannot tell.
    static double PlayerSeconds(const QString& file) {
        QProcess mpv;
        mpv.start("mpv", {"--no-config", "--ao=null", "--vo=null", "--length=0.01",
                          "--term-playing-msg=DURATION=${=duration}", file});
        mpv.waitForFinished(30000);
        const auto match = QRegularExpression("DURATION=([0-9.]+)")
                               .match(QString::fromUtf8(mpv.readAllStandardOutput()));
        return match.hasMatch() ? match.captured(1).toDouble() : -1;
    }
};

TEST_F(ImportFormats, EveryFormatArrivesWithItsTagsAndLength) {
    for (const char* tool : {"sox", "lame", "flac", "oggenc", "opusenc", "ffmpeg", "mpv"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << "no " << tool << " here";
    temp.write("music/.keep", "");
    // 7 seconds of a tone, and of a sweep in noise, so the variable bit rate really varies.
    ASSERT_TRUE(make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", "tone.wav", "synth", "7",
                             "sine", "440"}));
    ASSERT_TRUE(make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", "sweep.wav", "synth", "7",
                             "sine", "100-8000", "whitenoise", "vol", "0.3"}));
    struct Made {
        const char* program;
        QStringList arguments;
    };
    const Made made[] = {
        {"lame", {"--quiet", "-b", "192", "--tt", "Cbr", "tone.wav", "a-cbr.mp3"}},
        {"lame", {"--quiet", "-V", "2", "--tt", "Vbr", "sweep.wav", "b-vbr.mp3"}},
        {"flac", {"--silent", "--tag=TITLE=Flac", "-o", "c.flac", "tone.wav"}},
        {"oggenc", {"--quiet", "-t", "Vorbis", "-o", "d.ogg", "tone.wav"}},
        {"opusenc", {"--quiet", "--title", "Opus", "tone.wav", "e.opus"}},
        {"ffmpeg",
         {"-loglevel", "error", "-i", "tone.wav", "-metadata", "title=M4a", "-c:a", "aac",
          "f.m4a"}},
    };
    for (const Made& m : made)
        ASSERT_TRUE(make(m.program, m.arguments)) << m.program;
    QFile::remove(root + "music/sweep.wav");

    LocalFiles files;
    ScanWalker walker(tree, files, drives);
    ScanOptions options;
    options.folder = root + "music";
    walker.walk(options);
    pathScan = options.folder;
    ASSERT_FALSE(import().failed());

    EXPECT_EQ(rows("SELECT file, title, time FROM Mp3 ORDER BY file"),
              (QList<QVariantList>{{"a-cbr.mp3", "Cbr", "7"},
                                   {"b-vbr.mp3", "Vbr", "7"},
                                   {"c.flac", "Flac", "7"},
                                   {"d.ogg", "Vorbis", "7"},
                                   {"e.opus", "Opus", "7"},
                                   {"f.m4a", "M4a", "7"},
                                   {"tone.wav", " ", "7"}}));
    for (const char* mp3 : {"a-cbr.mp3", "b-vbr.mp3"}) {
        SCOPED_TRACE(mp3);
        const double player = PlayerSeconds(root + "music/" + mp3);
        const auto stored = rows(QStringLiteral("SELECT time FROM Mp3 WHERE file = '%1'").arg(mp3));
        ASSERT_EQ(stored.size(), 1);
        EXPECT_NEAR(stored[0][0].toDouble(), player, 1.0);
    }
}

} // namespace
} // namespace tarl::test
