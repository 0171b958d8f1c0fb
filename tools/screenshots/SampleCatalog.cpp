#include "SampleCatalog.h"

#include "catalog/CatalogInsert.h"
#include "catalog/CatalogUpdate.h"
#include "catalog/LibraryReads.h"
#include "catalog/TrackLength.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "scan/ScanImport.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"

#include <QDir>
#include <QFile>

#include <array>
#include <vector>

namespace tarl::screenshots {

namespace {

struct Album {
    const char* artist;
    const char* title;
    const char* year;
    const char* style;
    std::vector<const char*> tracks;
};

const std::array<Album, 5> kAlbums{{
    {"Ana Belén Ortiz",
     "Luz de invierno",
     "2004",
     "Pop",
     {"Camino del sur", "La noche clara", "Mañana será", "Vientos de marzo", "Café en Lisboa"}},
    {"The Harbour Lights",
     "Northern Roads",
     "1998",
     "Rock",
     {"Coastline", "Paper Boats", "Long Way Home", "Under Grey Skies", "Lighthouse Keeper",
      "Winter Tide"}},
    {"The Harbour Lights",
     "Static Summer",
     "2001",
     "Rock",
     {"Radio Waves", "Open Windows", "Slow Motion", "Sunday Driver"}},
    {"Miles Okafor Quartet",
     "Blue Hours",
     "2011",
     "Jazz",
     {"Late Train", "Midnight Standard", "Rain on Fifth", "Quiet Corner", "Last Call"}},
    {"Kalle Nyström",
     "Fjällvind",
     "2015",
     "Folk",
     {"Morgondimma", "Ljus över sjön", "Hemvägen", "Stjärnfall"}},
}};

// An ID3v2.3 text frame, its text in ISO-8859-1 (every name above fits).
QByteArray TextFrame(const char* id, const QString& text) {
    const QByteArray content = '\0' + text.toLatin1();
    QByteArray frame(id);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame += char((content.size() >> shift) & 0xff);
    return frame + QByteArray(2, '\0') + content;
}

QByteArray Id3Tag(const Album& album, const QString& title, int track) {
    const QByteArray frames =
        TextFrame("TIT2", title) + TextFrame("TPE1", QString::fromUtf8(album.artist)) +
        TextFrame("TALB", QString::fromUtf8(album.title)) + TextFrame("TYER", album.year) +
        TextFrame("TCON", album.style) + TextFrame("TRCK", QString::number(track));
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) // the size, seven bits a byte
        tag += char((frames.size() >> shift) & 0x7f);
    return tag + frames;
}

// A length between two and six minutes, the same for the same track on every run.
int Seconds(int album, int track) {
    return 130 + (album * 97 + track * 53) % 230;
}

// Twenty seconds of MPEG-1 Layer III at 128 kbit/s and 44.1 kHz, silent: 417-byte frames whose
// side information and data are all zero. A player plays them and, the rate being constant,
// takes the track's length from its size.
QByteArray SilentAudio() {
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(417 - 4, '\0');
    return frame.repeated(766);
}

Result<> WriteTrack(const QString& path, const QByteArray& tag, int seconds) {
    static const QByteArray audio = SilentAudio();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tag) != tag.size() ||
        file.write(audio) != audio.size())
        return Result<>::failed(QStringLiteral("Cannot write %1.").arg(path));
    // The rest, at 16000 bytes a second, is left as a hole so the run writes next to nothing.
    if (!file.resize(qint64(seconds) * 16000))
        return Result<>::failed(QStringLiteral("Cannot size %1.").arg(path));
    return {};
}

Result<> WriteMusic(const QString& musicFolder) {
    for (size_t a = 0; a < kAlbums.size(); ++a) {
        const Album& album = kAlbums[a];
        const QString folder = QStringLiteral("%1/%2/%3 - %4")
                                   .arg(musicFolder, QString::fromUtf8(album.artist), album.year,
                                        QString::fromUtf8(album.title));
        if (!QDir().mkpath(folder))
            return Result<>::failed(QStringLiteral("Cannot make the folder %1.").arg(folder));
        for (size_t t = 0; t < album.tracks.size(); ++t) {
            const QString title = QString::fromUtf8(album.tracks[t]);
            const QString path = QStringLiteral("%1/%2 - %3.mp3")
                                     .arg(folder)
                                     .arg(t + 1, 2, 10, QChar(u'0'))
                                     .arg(title);
            const Result<> written =
                WriteTrack(path, Id3Tag(album, title, int(t) + 1), Seconds(int(a), int(t)));
            if (!written)
                return written;
        }
    }
    return {};
}

} // namespace

Result<SampleCatalog> MakeSampleCatalog(const QString& musicFolder, const QString& catalogFile) {
    using Failed = Result<SampleCatalog>;
    if (const Result<> written = WriteMusic(musicFolder); !written)
        return Failed::failed(written.error);
    if (const Result<> created = CreateCatalog(catalogFile); !created)
        return Failed::failed(created.error);
    Catalog catalog;
    if (!catalog.connection.open(catalogFile))
        return Failed::failed(catalog.connection.lastError());

    const LinuxDrives drives;
    const LocalFiles files;
    ScanTree tree;
    ScanWalker walker(tree, files, drives);
    ScanOptions options;
    options.folder = musicFolder + u'/';
    options.currentLabel = QStringLiteral("EOF");
    walker.walk(options);
    QString label = options.currentLabel;
    const ScanImportResult imported = ImportScanTree(catalog, drives, tree, label, options.folder);
    if (imported.failed())
        return Failed::failed(imported.failure);
    if (imported.tracks == 0)
        return Failed::failed(QStringLiteral("The import of %1 found no tracks.").arg(musicFolder));

    for (const Album& album : kAlbums) {
        const QString style = QString::fromUtf8(album.style);
        if (const Result<StyleAdded> added = AddStyle(catalog, style); !added)
            return Failed::failed(added.error);
    }
    const Lookup<QHash<qint64, std::vector<VolumeListRow>>> lists = ReadListsByVolume(catalog);
    if (!lists.ok)
        return Failed::failed(lists.error);
    for (const std::vector<VolumeListRow>& volumeLists : lists.value) {
        for (const VolumeListRow& list : volumeLists) {
            for (const Album& album : kAlbums) {
                if (!(list.path + list.file).contains(QString::fromUtf8(album.title)))
                    continue;
                const Result<> filed =
                    FileListUnderStyle(catalog, list.path, list.file, album.style);
                if (!filed)
                    return Failed::failed(filed.error);
            }
        }
    }

    SampleCatalog made{catalogFile, {}};
    for (size_t a = 0; a < kAlbums.size(); ++a) {
        const Album& album = kAlbums[a];
        const QString folder = QStringLiteral("%1/%2/%3 - %4/")
                                   .arg(musicFolder, QString::fromUtf8(album.artist), album.year,
                                        QString::fromUtf8(album.title));
        if (a == 1)
            made.selectedFolder = folder;
        for (size_t t = 0; t < album.tracks.size(); ++t) {
            const QString path = QStringLiteral("%1%2 - %3.mp3")
                                     .arg(folder)
                                     .arg(t + 1, 2, 10, QChar(u'0'))
                                     .arg(QString::fromUtf8(album.tracks[t]));
            const Result<> stored = StoreTrackLength(catalog, path, Seconds(int(a), int(t)));
            if (!stored)
                return Failed::failed(stored.error);
        }
    }
    return made;
}

} // namespace tarl::screenshots
