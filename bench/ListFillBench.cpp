// Time to fill the track list with a 10,000-track list: TrackRowsForNode (the list look-up, the
// query and the walk over its rows) and the model's setRows, on a hot cache.
//
//   tarl-bench-list-fill [--others N] [--passes N]
//
// The catalog holds one hard-disc volume with the folder list of 10,000 tracks and, besides it,
// N other tracks (default 990,000) in folder lists of 10,000, so the list is read out of a
// catalog of a million tracks. The drive-root rule reads the machine's mount table, as the
// program does. Prints the median and the extremes of the passes, and the parts of the median.

#include "browser/TrackListModel.h"
#include "browser/TrackRows.h"
#include "catalog/CatalogFile.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionText.h"
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

// Writes the catalog straight through the engine with bound values: a million rows through the
// routines would take minutes and measure nothing of the fill.
bool Generate(sqlite3* db, qint64 others) {
    auto exec = [db](const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };
    if (exec("BEGIN") != SQLITE_OK)
        return false;
    if (exec("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/bench/music/',0,'EOF','0')") !=
        SQLITE_OK)
        return false;
    const qint64 volume = sqlite3_last_insert_rowid(db);
    sqlite3_stmt* list = nullptr;
    sqlite3_stmt* track = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES (?,?,?,0)", -1, &list,
                       nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,comments,"
                       "size,time,rating) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &track, nullptr);
    const qint64 lists = 1 + (others + kListTracks - 1) / kListTracks;
    qint64 left = kListTracks + others;
    // The list under test is written in the middle, so it is neither the first nor the last.
    const qint64 middle = lists / 2;
    bool ok = list && track;
    for (qint64 l = 0; ok && l < lists; ++l) {
        const QByteArray folder =
            l == middle ? QByteArray("big/") : "folder" + QByteArray::number(l) + "/";
        const QByteArray path = QByteArray(kVolume) + folder;
        sqlite3_bind_text(list, 1, kVolume, -1, SQLITE_STATIC);
        sqlite3_bind_text(list, 2, folder.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(list, 3, volume);
        ok = sqlite3_step(list) == SQLITE_DONE;
        sqlite3_reset(list);
        const qint64 listId = sqlite3_last_insert_rowid(db);
        const qint64 count =
            l == middle ? kListTracks : std::min<qint64>(kListTracks, left - kListTracks);
        for (qint64 t = 0; ok && t < count; ++t) {
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
        if (l != middle)
            left -= count;
    }
    sqlite3_finalize(list);
    sqlite3_finalize(track);
    return ok && exec("COMMIT") == SQLITE_OK;
}

double Ms(qint64 nanoseconds) {
    return nanoseconds / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qint64 others = 990000;
    int passes = 21;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--others"))
            others = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--passes"))
            passes = std::max(1, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("tarl.mdb");
    QString error;
    if (!CreateCatalog(file, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    Catalog catalog;
    if (!catalog.connection.open(BuildConnectionText(file))) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.connection.lastError()));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    if (!Generate(catalog.connection.handle(), others)) {
        std::fprintf(stderr, "generating the catalog failed: %s\n",
                     sqlite3_errmsg(catalog.connection.handle()));
        return 1;
    }
    std::printf("catalog: %d tracks in the list, %lld others; made in %.1f s\n", kListTracks,
                static_cast<long long>(others), timer.nsecsElapsed() / 1e9);

    const LinuxDrives drives;
    const QString key = QString::fromLatin1(kVolume) + "big/";
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
        std::vector<TrackRow> rows;
        timer.restart();
        if (!TrackRowsForNode(catalog, drives, key, QStringLiteral("Mp3Cd"), &rows, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
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
