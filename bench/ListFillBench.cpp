// Time to fill the track list with a 10,000-track list: TrackRowsForNode (the list look-up, the
// query and the walk over its rows) and the model's setRows, on a hot cache.
//
//   tarl-bench-list-fill [--small] [--passes N]
//
// The catalog is MakeLargeCatalog's (10,000 volumes, 100,000 lists, 1,000,000 tracks, 100 styles)
// with one more hard-disc volume holding a folder list of 10,000 tracks; --small leaves out the
// large catalog, to show whether its size counts. The drive-root rule reads the machine's mount
// table, as the program does. Prints the median and the extremes of the passes (default 21),
// and the two parts of the median.

#include "LargeCatalog.h"
#include "browser/TrackListModel.h"
#include "browser/TrackRows.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace tarl;

constexpr int kListTracks = 10000;
const char* const kVolume = "/bench/music/";
const char* const kFolder = "big/";

// Adds the volume with the big list straight through the engine with bound values, every tag
// field filled.
bool AddBigList(sqlite3* db) {
    auto exec = [db](const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };
    if (exec("BEGIN") != SQLITE_OK)
        return false;
    if (exec("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/bench/music/',1,'EOF','0')") !=
        SQLITE_OK)
        return false;
    const QByteArray volume = QByteArray::number(sqlite3_last_insert_rowid(db));
    if (exec("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/bench/music/','big/'," + volume +
             ",0)") != SQLITE_OK)
        return false;
    const qint64 listId = sqlite3_last_insert_rowid(db);
    const QByteArray path = QByteArray(kVolume) + kFolder;
    sqlite3_stmt* track = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,comments,"
                       "size,time,rating) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &track, nullptr);
    bool ok = track != nullptr;
    for (qint64 t = 0; ok && t < kListTracks; ++t) {
        const QByteArray n = QByteArray::number(t);
        const QByteArray file = "Track number " + n + " of the album.mp3";
        const QByteArray title = "A title of middling length " + n;
        sqlite3_bind_text(track, 1, path.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(track, 2, file.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(track, 3, listId);
        sqlite3_bind_text(track, 4, title.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(track, 5, "Some Artist", -1, SQLITE_STATIC);
        sqlite3_bind_text(track, 6, "Some Album Title", -1, SQLITE_STATIC);
        sqlite3_bind_text(track, 7, "1999", -1, SQLITE_STATIC);
        sqlite3_bind_text(track, 8, "Rock", -1, SQLITE_STATIC);
        sqlite3_bind_text(track, 9, "A comment", -1, SQLITE_STATIC);
        sqlite3_bind_text(track, 10, "4.52M", -1, SQLITE_STATIC);
        sqlite3_bind_int64(track, 11, 120 + t % 600);
        sqlite3_bind_text(track, 12, " ", -1, SQLITE_STATIC);
        ok = sqlite3_step(track) == SQLITE_DONE;
        sqlite3_reset(track);
    }
    sqlite3_finalize(track);
    return ok && exec("COMMIT") == SQLITE_OK;
}

double Ms(qint64 nanoseconds) {
    return nanoseconds / 1e6;
}

// The large catalog, its counts left aside.
Result<> MadeLarge(const QString& file) {
    const Result<bench::LargeCatalogCounts> made =
        bench::MakeLargeCatalog(file, 10000, 100000, 1000000, 100);
    if (!made)
        return Result<>::failed(made.error);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bool small = false;
    int passes = 21;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--small"))
            small = true;
        else if (args[i] == QLatin1String("--passes") && i + 1 < args.size())
            passes = std::max(1, args[++i].toInt());
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("tarl.mdb");
    QElapsedTimer timer;
    timer.start();
    const Result<> made = small ? CreateCatalog(file) : MadeLarge(file);
    if (!made) {
        std::fprintf(stderr, "%s\n", qPrintable(made.error));
        return 1;
    }
    Catalog catalog;
    if (!catalog.connection.open(file)) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.connection.lastError()));
        return 1;
    }
    if (!AddBigList(catalog.connection.handle())) {
        std::fprintf(stderr, "adding the list failed: %s\n",
                     sqlite3_errmsg(catalog.connection.handle()));
        return 1;
    }
    std::printf("catalog: %s, plus a list of %d tracks; made in %.1f s\n",
                small ? "nothing else" : "10,000 volumes, 100,000 lists, 1,000,000 tracks",
                kListTracks, timer.nsecsElapsed() / 1e9);

    const LinuxDrives drives;
    const QString key = QString::fromLatin1(kVolume) + QString::fromLatin1(kFolder);
    TrackListModel model;
    struct Pass {
        qint64 rows = 0;  // TrackRowsForNode
        qint64 model = 0; // setRows
        qint64 total() const { return rows + model; }
    };
    std::vector<Pass> times;
    // The first pass warms the cache and is not counted.
    for (int p = 0; p <= passes; ++p) {
        Pass pass;
        timer.restart();
        Result<std::vector<TrackRow>> read =
            TrackRowsForNode(catalog, drives, key, NodeKind::TrackFolder);
        if (!read) {
            std::fprintf(stderr, "%s\n", qPrintable(read.error));
            return 1;
        }
        std::vector<TrackRow> rows = std::move(read.value);
        pass.rows = timer.nsecsElapsed();
        if (rows.size() != static_cast<size_t>(kListTracks)) {
            std::fprintf(stderr, "expected %d rows, got %zu\n", kListTracks, rows.size());
            return 1;
        }
        timer.restart();
        model.setRows(std::move(rows));
        pass.model = timer.nsecsElapsed();
        if (p > 0)
            times.push_back(pass);
    }
    std::sort(times.begin(), times.end(),
              [](const Pass& a, const Pass& b) { return a.total() < b.total(); });
    const Pass& median = times[times.size() / 2];
    std::printf("fill of %d rows, %d passes: median %.1f ms (rows %.1f ms, model %.1f ms), "
                "fastest %.1f ms, slowest %.1f ms\n",
                kListTracks, passes, Ms(median.total()), Ms(median.rows), Ms(median.model),
                Ms(times.front().total()), Ms(times.back().total()));
    return 0;
}
