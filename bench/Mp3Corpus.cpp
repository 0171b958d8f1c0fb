#include "Mp3Corpus.h"

#include "support/Id3Builder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <vector>

namespace tarl::bench {

namespace {

using test::Id3Builder;
using test::Id3Enc;

constexpr int kTracksPerAlbum = 12;
constexpr int kAlbumsPerArtist = 4;
constexpr int kCoverBytes = 24 * 1024;
constexpr int kAudioFrames = 8;

QByteArray TrackFile(int i, const QString& artist, const QString& album) {
    const QString title = QStringLiteral("Song %1 – ünïcode").arg(i);
    const test::Id3v1Fields v1{QStringLiteral("Song %1").arg(i).toLatin1(),
                               artist.toLatin1(),
                               album.toLatin1(),
                               "1999",
                               "ripped",
                               i % 126};
    const int kind = i % 4;
    if (kind == 0)
        return Id3Builder(0).audio(kAudioFrames).v1(v1).build();
    const int version = kind == 3 ? 4 : 3;
    const Id3Enc encoding = kind == 1 ? Id3Enc::Latin1 : (kind == 2 ? Id3Enc::Utf16 : Id3Enc::Utf8);
    Id3Builder tag(version);
    // Taggers that embed covers usually write them first, so the reader has to skip them.
    if ((i / 4) % 2 == 0)
        tag.picture(kCoverBytes);
    tag.text(version == 4 ? "TDRC" : "TYER", "2003", encoding)
        .text("TIT2", title, encoding)
        .text("TPE1", artist, encoding)
        .text("TALB", album, encoding)
        .text("TCON", "(17)", encoding)
        .comment("", "from the bench", encoding)
        .padding(1024);
    return tag.audio(kAudioFrames).v1(v1).build();
}

struct OtherFile {
    QString extension;
    QByteArray bytes;
};

// One tagged file of each other format, made in a temporary folder by the encoders' tools.
Result<std::vector<OtherFile>> OtherFormatFiles() {
    using Made = Result<std::vector<OtherFile>>;
    QTemporaryDir dir;
    const auto run = [&dir](const QString& program, const QStringList& arguments) {
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(program, arguments);
        return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit &&
               tool.exitCode() == 0;
    };
    const struct {
        const char* extension;
        const char* program;
        QStringList arguments;
    } recipes[] = {
        {"flac",
         "flac",
         {"--silent", "--tag=TITLE=Song", "--tag=ARTIST=Band", "--tag=ALBUM=Album",
          "--tag=DATE=2003", "-o", "x.flac", "tone.wav"}},
        {"ogg", "oggenc", {"--quiet", "-t", "Song", "-a", "Band", "-o", "x.ogg", "tone.wav"}},
        {"opus", "opusenc", {"--quiet", "--title", "Song", "tone.wav", "x.opus"}},
        {"m4a",
         "ffmpeg",
         {"-loglevel", "error", "-i", "tone.wav", "-metadata", "title=Song", "-c:a", "aac",
          "x.m4a"}},
    };
    if (!run("sox",
             {"-n", "-r", "44100", "-c", "2", "-b", "16", "tone.wav", "synth", "3", "sine", "440"}))
        return Made::failed("sox could not make a tone (is it installed?)");
    std::vector<OtherFile> files;
    for (const auto& recipe : recipes) {
        if (!run(recipe.program, recipe.arguments))
            return Made::failed(
                QStringLiteral("%1 could not make a file (is it installed?)").arg(recipe.program));
        QFile made(dir.filePath(QStringLiteral("x.") + recipe.extension));
        if (!made.open(QIODevice::ReadOnly))
            return Made::failed(made.fileName() + ": " + made.errorString());
        files.push_back({recipe.extension, made.readAll()});
    }
    return files;
}

} // namespace

Result<> MakeMp3Corpus(const QString& folder, int tracks, bool mixed) {
    std::vector<OtherFile> others;
    if (mixed) {
        Result<std::vector<OtherFile>> made = OtherFormatFiles();
        if (!made)
            return Result<>::failed(made.error);
        others = std::move(made.value);
    }
    for (int i = 0; i < tracks; ++i) {
        const int album = i / kTracksPerAlbum;
        const int artist = album / kAlbumsPerArtist;
        const QString artistName = QStringLiteral("Artist %1").arg(artist);
        const QString albumName = QStringLiteral("Album %1").arg(album);
        const QString dir = QStringLiteral("%1/%2/%3").arg(folder, artistName, albumName);
        if (i % kTracksPerAlbum == 0 && !QDir().mkpath(dir))
            return Result<>::failed("cannot make " + dir);
        const OtherFile* other =
            mixed && i % 2 == 1 ? &others[size_t(i / 2) % others.size()] : nullptr;
        QFile file(QStringLiteral("%1/%2 Song %3.%4")
                       .arg(dir)
                       .arg(i % kTracksPerAlbum)
                       .arg(i)
                       .arg(other ? other->extension : QStringLiteral("mp3")));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(other ? other->bytes : TrackFile(i, artistName, albumName)) < 0) {
            return Result<>::failed(file.fileName() + ": " + file.errorString());
        }
    }
    return {};
}

} // namespace tarl::bench
