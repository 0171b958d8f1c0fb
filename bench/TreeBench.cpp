// Time and memory of building the library tree by paths and by style from a large catalog, as the
// window builds it (the machine's drives and files answer the drive, label and "is it there"
// questions).
//
//   tarl-bench-tree [--catalog FILE] [--passes N] [--volumes N] [--lists N] [--tracks N]
//                   [--styles N] [--drives live|snapshot]
//
// The catalog (default 10,000 volumes, 100,000 lists, 1,000,000 tracks, 100 styles) is made by
// MakeLargeCatalog in a temporary folder, or at FILE when it does not exist yet, and kept there so
// later runs skip the making. Each tree is built N times (default 7) into the same tree, as the
// window rebuilds it; the median and the extremes are printed, then where a build's time goes
// (the catalog reads, the drive and file questions), then the memory the tree holds: the
// resident size with the tree built less the resident size once it is cleared.
//
// The live drives read the mount table and fstab again on every question, as the program's do;
// "--drives snapshot" reads them once before the builds, to show what that reading costs.

#include "LargeCatalog.h"
#include "browser/LibraryTree.h"
#include "browser/TreeBuild.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "platform/PathRules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tarl;

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
qint64 StatusKib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The resident size once freed memory went back to the system.
qint64 SettledRssKib() {
    malloc_trim(0);
    return StatusKib("VmRSS");
}

double Ms(qint64 nanoseconds) {
    return nanoseconds / 1e6;
}

struct Timing {
    double median = 0, low = 0, high = 0;
};

Timing Repeat(int passes, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < passes; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(Ms(timer.nsecsElapsed()));
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

double Once(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return Ms(timer.nsecsElapsed());
}

// Reads every row of a statement the way the builds read them, keeping nothing.
qint64 ReadAll(Catalog& catalog, const QString& statement, int columns) {
    qint64 rows = 0;
    Recordset read;
    if (!catalog.connection.execute(statement, read))
        return -1;
    for (; !read.eof(); read.moveNext(), ++rows) {
        for (int c = 0; c < columns; ++c)
            (void)read.field(c).toString();
    }
    return rows;
}

// The machine's drives as they are now, read once.
std::unique_ptr<LinuxDrives> DrivesSnapshot() {
    LinuxDrives::Sources sources;
    for (const auto& [path, into] : {std::pair{"/proc/self/mountinfo", &sources.mountInfo},
                                     std::pair{"/etc/fstab", &sources.fstab}}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            *into = file.readAll();
    }
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        sources.userName = QString::fromLocal8Bit(entry->pw_name);
    return std::make_unique<LinuxDrives>(std::move(sources));
}

// The parts of a build's time, measured apart.
void PrintParts(Catalog& catalog, const Drives& drives, const Files& files) {
    std::printf("\nwhere the time goes (each part alone, once):\n");
    std::printf("  read SELECT * FROM CD: %.0f ms\n",
                Once([&] { ReadAll(catalog, QStringLiteral("SELECT * FROM CD"), 6); }));
    std::printf("  read the lists (path view): %.0f ms\n", Once([&] {
                    ReadAll(catalog,
                            QStringLiteral("SELECT cd_id, path, file FROM M3u ORDER BY id"), 3);
                }));
    std::printf("  read the lists (style view): %.0f ms\n", Once([&] {
                    ReadAll(catalog,
                            QStringLiteral("SELECT nick, file, cd_id FROM M3u ORDER BY id"), 3);
                }));

    QStringList hardDiscs, discs, listPaths;
    Recordset rows;
    if (catalog.connection.execute(QStringLiteral("SELECT name, isCd FROM CD"), rows)) {
        for (; !rows.eof(); rows.moveNext())
            (rows.field(1).toBool() ? discs : hardDiscs) << rows.field(0).toString();
    }
    if (catalog.connection.execute(
            QStringLiteral("SELECT CD.name || M3u.file FROM M3u JOIN CD ON CD.id = M3u.cd_id"),
            rows)) {
        for (; !rows.eof(); rows.moveNext())
            listPaths << rows.field(0).toString();
    }
    std::printf("  drive root of each of %lld hard-disc volumes: %.0f ms\n",
                static_cast<long long>(hardDiscs.size()), Once([&] {
                    for (const QString& name : hardDiscs)
                        (void)DriveOf(name, drives);
                }));
    std::printf("  is each hard-disc volume's folder there: %.0f ms\n", Once([&] {
                    for (const QString& name : hardDiscs)
                        (void)PathExists(files, name);
                }));
    std::printf("  label of the drive of each of %lld discs, asked every time (a build asks "
                "once per drive root): %.0f ms\n",
                static_cast<long long>(discs.size()), Once([&] {
                    for (const QString& name : discs)
                        (void)VolumeLabelOf(drives, name);
                }));
    std::printf("  is each of %lld lists there (the style view): %.0f ms\n",
                static_cast<long long>(listPaths.size()), Once([&] {
                    for (const QString& path : listPaths)
                        (void)PathExists(files, path);
                }));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString catalogFile;
    int passes = 7;
    qint64 volumes = 10000, lists = 100000, tracks = 1000000, styles = 100;
    bool snapshot = false;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args[i];
        const QString& value = args[i + 1];
        if (name == QLatin1String("--catalog"))
            catalogFile = value;
        else if (name == QLatin1String("--passes"))
            passes = std::max(1, value.toInt());
        else if (name == QLatin1String("--volumes"))
            volumes = value.toLongLong();
        else if (name == QLatin1String("--lists"))
            lists = value.toLongLong();
        else if (name == QLatin1String("--tracks"))
            tracks = value.toLongLong();
        else if (name == QLatin1String("--styles"))
            styles = value.toLongLong();
        else if (name == QLatin1String("--drives"))
            snapshot = value == QLatin1String("snapshot");
    }

    QTemporaryDir dir;
    if (catalogFile.isEmpty())
        catalogFile = dir.filePath(QStringLiteral("tarl.mdb"));
    if (!QFileInfo::exists(catalogFile)) {
        QElapsedTimer timer;
        timer.start();
        const Result<bench::LargeCatalogCounts> made =
            bench::MakeLargeCatalog(catalogFile, volumes, lists, tracks, styles);
        if (!made) {
            std::fprintf(stderr, "%s\n", qPrintable(made.error));
            return 1;
        }
        const bench::LargeCatalogCounts& counts = made.value;
        std::printf(
            "made %s in %.1f s: %lld disc and %lld hard-disc volumes, %lld lists (%lld "
            "under styles), %lld tracks, %lld styles, %.0f MB\n",
            qPrintable(catalogFile), timer.nsecsElapsed() / 1e9,
            static_cast<long long>(counts.discVolumes),
            static_cast<long long>(counts.hardDiscVolumes), static_cast<long long>(counts.lists),
            static_cast<long long>(counts.styledLists), static_cast<long long>(counts.tracks),
            static_cast<long long>(counts.styles), QFileInfo(catalogFile).size() / 1e6);
    }

    Catalog catalog;
    if (!catalog.connection.open(catalogFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.connection.lastError()));
        return 1;
    }
    const std::unique_ptr<LinuxDrives> drivesOwner =
        snapshot ? DrivesSnapshot() : std::make_unique<LinuxDrives>();
    const Drives& drives = *drivesOwner;
    const LocalFiles files;
    const TreeSources sources{catalog, drives, files};
    LibraryTree tree;

    struct View {
        const char* name;
        std::function<void()> build;
    };
    const View views[] = {
        {"by paths", [&] { BuildTreeByPaths(tree, sources); }},
        {"by style", [&] { (void)BuildTreeByStyle(tree, sources); }},
    };
    for (const View& view : views) {
        const qint64 before = SettledRssKib();
        const double first = Once(view.build);
        const qint64 built = SettledRssKib();
        const qint64 nodes = tree.nodeCount();
        const Timing t = Repeat(passes, view.build);
        tree.clear();
        const qint64 cleared = SettledRssKib();
        std::printf("tree %s: %lld nodes; first build %.0f ms; rebuilt %d times: median %.0f ms "
                    "(%.0f to %.0f); tree memory %.1f MB (resident %.1f MB before the first "
                    "build, %.1f MB with the tree, %.1f MB once cleared)\n",
                    view.name, static_cast<long long>(nodes), first, passes, t.median, t.low,
                    t.high, (built - cleared) / 1024.0, before / 1024.0, built / 1024.0,
                    cleared / 1024.0);
    }
    std::printf("peak resident size of the whole run: %.1f MB\n", StatusKib("VmHWM") / 1024.0);
    PrintParts(catalog, drives, files);
    return 0;
}
