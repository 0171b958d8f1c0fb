#include "Mp3Corpus.h"

#include "support/Id3Builder.h"

#include <QDir>
#include <QFile>

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

} // namespace

Result<> MakeMp3Corpus(const QString& folder, int tracks) {
    for (int i = 0; i < tracks; ++i) {
        const int album = i / kTracksPerAlbum;
        const int artist = album / kAlbumsPerArtist;
        const QString artistName = QStringLiteral("Artist %1").arg(artist);
        const QString albumName = QStringLiteral("Album %1").arg(album);
        const QString dir = QStringLiteral("%1/%2/%3").arg(folder, artistName, albumName);
        if (i % kTracksPerAlbum == 0 && !QDir().mkpath(dir))
            return Result<>::failed("cannot make " + dir);
        QFile file(QStringLiteral("%1/%2 Song %3.mp3").arg(dir).arg(i % kTracksPerAlbum).arg(i));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(TrackFile(i, artistName, albumName)) < 0) {
            return Result<>::failed(file.fileName() + ": " + file.errorString());
        }
    }
    return {};
}

} // namespace tarl::bench
