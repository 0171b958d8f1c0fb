// Statements per second of the catalog's insert routines: AddFolderTrack (a sound-file import)
// and AddPlaylistTracks (a playlist import) into a fresh catalog, on a hot cache, through one
// import's prepared statements (ImportStatements), as the import runs them. The list ids it keeps
// spare a track of a known folder its list look-up, so a track takes fewer statements than the
// literal statements took.
//
//   tarl-bench-catalog-insert [tracks] [--autocommit] [--root-only]
//
// By default the tracks are written in transactions of 1000, as an import writes them;
// --autocommit commits every statement on its own (each commit waits for the disc), except
// where a routine batches its own writes. The drive-root rule reads and parses the machine's mount
// table on every call, as the program does; --root-only answers "/" for every path instead, to
// show the cost of the statements alone.

#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "scan/PlaylistImport.h"
#include "tags/TagFields.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <sqlite3.h>

namespace {

using namespace tarl;

constexpr int kTracksPerFolder = 20;
constexpr int kEntriesPerPlaylist = 1000;
constexpr int kBatch = 1000;

// Counts the look-ups and inserts the routines run (not the transaction statements).
int CountStatement(unsigned, void* counter, void*, void* sql) {
    const char* text = static_cast<const char*>(sql);
    if (qstrncmp(text, "SELECT", 6) == 0 || qstrncmp(text, "INSERT", 6) == 0)
        ++*static_cast<qint64*>(counter);
    return 0;
}

// Drives of a machine with one file system.
class RootOnlyDrives : public Drives {
public:
    QString driveRoot(const QString& path) const override {
        return path.startsWith('/') ? QStringLiteral("/") : QString();
    }
    DriveType driveType(const QString&) const override { return DriveType::Fixed; }
    QString volumeLabel(const QString&) const override { return {}; }
};

struct Run {
    qint64 items = 0;
    qint64 statements = 0;
    qint64 nanoseconds = 0;
};

// Opens a fresh catalog in `folder` and times `write(catalog, i)` for i in [0, count).
bool Time(const QString& folder, const QString& name, qint64 count, bool autocommit,
          const std::function<Result<>(Catalog&, ImportStatements&, qint64)>& write, Run* result) {
    const QString file = folder + "/" + name;
    const Result<> made = CreateCatalog(file);
    if (!made) {
        std::fprintf(stderr, "%s\n", qPrintable(made.error));
        return false;
    }
    Catalog catalog;
    if (!catalog.connection.open(file)) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.connection.lastError()));
        return false;
    }
    // Volume and list ids the routines write under.
    catalog.connection.execute("INSERT INTO CD (name,m3us,label,isCd) VALUES "
                               "('/bench/music/',0,'EOF','0')");
    sqlite3_trace_v2(catalog.connection.handle(), SQLITE_TRACE_STMT, CountStatement,
                     &result->statements);

    // Declared after the catalog: gone before its connection closes.
    ImportStatements statements(catalog.connection);
    QElapsedTimer timer;
    timer.start();
    for (qint64 i = 0; i < count; ++i) {
        if (!autocommit && i % kBatch == 0)
            catalog.connection.execute("BEGIN");
        const Result<> written = write(catalog, statements, i);
        if (!written) {
            std::fprintf(stderr, "%s\n", qPrintable(written.error));
            return false;
        }
        if (!autocommit && (i % kBatch == kBatch - 1 || i == count - 1))
            catalog.connection.execute("COMMIT");
    }
    result->nanoseconds = timer.nsecsElapsed();
    result->items = count;
    sqlite3_trace_v2(catalog.connection.handle(), 0, nullptr, nullptr);
    return true;
}

void Print(const char* what, const Run& run) {
    const double seconds = run.nanoseconds / 1e9;
    std::printf("%-18s %7lld tracks %8lld statements %7.2f s  %9.0f tracks/s  %9.0f "
                "statements/s  %6.1f us/statement\n",
                what, static_cast<long long>(run.items), static_cast<long long>(run.statements),
                seconds, run.items / seconds, run.statements / seconds,
                run.nanoseconds / 1e3 / run.statements);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qint64 tracks = 20000;
    bool autocommit = false;
    bool rootOnly = false;
    for (const QString& argument : app.arguments().mid(1)) {
        if (argument == QLatin1String("--autocommit"))
            autocommit = true;
        else if (argument == QLatin1String("--root-only"))
            rootOnly = true;
        else
            tracks = argument.toLongLong();
    }
    if (tracks <= 0) {
        std::fprintf(stderr, "usage: tarl-bench-catalog-insert [tracks] [--autocommit] "
                             "[--root-only]\n");
        return 2;
    }

    QTemporaryDir temp;
    const std::unique_ptr<Drives> drives =
        rootOnly ? std::unique_ptr<Drives>(new RootOnlyDrives) : std::make_unique<LinuxDrives>();

    TagFields tags;
    tags.title = "A title";
    tags.artist = "An artist";
    tags.album = "An album";
    tags.year = "1999";
    tags.genre = "Rock";
    tags.comments = "It's a comment";
    tags.fileLength = 4523456;
    const auto addFolderTrack = [&](Catalog&, ImportStatements& statements, qint64 i) {
        const QString folder = QStringLiteral("/bench/music/folder %1/").arg(i / kTracksPerFolder);
        const QString name = QStringLiteral("track %1.mp3").arg(i);
        return AddFolderTrack(*drives, {folder + name, name, folder}, tags, 1, statements);
    };

    // Playlists of kEntriesPerPlaylist entries, half relative, half absolute.
    QStringList playlists;
    for (qint64 first = 0; first < tracks; first += kEntriesPerPlaylist) {
        QByteArray text = "#EXTM3U\r\n";
        for (qint64 i = first; i < qMin(tracks, first + kEntriesPerPlaylist); ++i) {
            text += "#EXTINF:215,Artist - Title\r\n";
            text += (i % 2 ? QStringLiteral("/bench/music/rock/track %1.mp3")
                           : QStringLiteral("pop\\track %1.mp3"))
                        .arg(i)
                        .toUtf8() +
                    "\r\n";
        }
        const QString file = temp.filePath(QStringLiteral("list%1.m3u").arg(playlists.size()));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
            return 1;
        playlists << file;
    }
    const auto addPlaylistTracks = [&](Catalog& catalog, ImportStatements& statements, qint64 i) {
        return AddPlaylistTracks(catalog, statements, playlists[i], i + 1);
    };

    // A first pass warms the caches and the code; the second is timed.
    for (int pass = 0; pass < 2; ++pass) {
        Run folderRun;
        Run playlistRun;
        const QString tag = QString::number(pass);
        if (!Time(temp.path(), "folder" + tag + ".mdb", tracks, autocommit, addFolderTrack,
                  &folderRun) ||
            !Time(temp.path(), "playlist" + tag + ".mdb", playlists.size(), autocommit,
                  addPlaylistTracks, &playlistRun))
            return 1;
        playlistRun.items = tracks;
        if (pass == 0)
            continue;
        Print("AddFolderTrack", folderRun);
        Print("AddPlaylistTracks", playlistRun);
    }
    return 0;
}
