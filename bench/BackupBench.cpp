// Time of the catalog's copies and checks on the large catalog: the backup an import makes first
// (through the open connection, rotated), the quick check start-up runs after a crash, the full
// check of `tarl-catalog check`, and a restore (full check of the copy, copy, renames).
//
//   tarl-bench-backup [--catalog FILE] [--passes N] [--tracks N]
//
// The catalog (default 10,000 volumes, 100,000 lists, 1,000,000 tracks, 100 styles; --tracks
// scales lists and volumes with it) is made by MakeLargeCatalog in a temporary folder, or at FILE
// when it does not exist yet, and kept there. The copies go beside it. Each is run N times
// (default 3); the median and the extremes are printed. For the backup, the longest time between
// two progress reports (of the last pass) is printed too: the longest a window waits for a
// repaint; the last step, which commits the copy and waits for the disc, apart.

#include "LargeCatalog.h"
#include "catalog/engine/Connection.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "catalog/maintenance/CatalogRestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace tarl;

struct Spread {
    double median, low, high;
};

Spread Measure(int passes, const std::function<bool()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < passes; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return {-1, -1, -1};
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void Print(const char* what, const Spread& s) {
    std::printf("%-34s median %8.0f ms (%.0f to %.0f)\n", what, s.median, s.low, s.high);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString catalogFile;
    int passes = 3;
    qint64 tracks = 1000000;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--catalog"))
            catalogFile = args[i + 1];
        else if (args[i] == QLatin1String("--passes"))
            passes = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--tracks"))
            tracks = std::max<qint64>(100, args[i + 1].toLongLong());
    }
    QTemporaryDir dir;
    if (catalogFile.isEmpty())
        catalogFile = dir.filePath(QStringLiteral("tarl.mdb"));
    if (!QFileInfo::exists(catalogFile)) {
        const Result<bench::LargeCatalogCounts> made =
            bench::MakeLargeCatalog(catalogFile, tracks / 100, tracks / 10, tracks, 100);
        if (!made) {
            std::fprintf(stderr, "%s\n", qPrintable(made.error));
            return 1;
        }
    }
    std::printf("catalog %s: %.0f MB\n", qPrintable(catalogFile),
                QFileInfo(catalogFile).size() / 1e6);

    Connection catalog;
    if (!catalog.open(catalogFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.lastError()));
        return 1;
    }
    QElapsedTimer sinceReport;
    qint64 longestGapNs = 0; // between two steps that copy pages
    qint64 lastStepNs = 0;   // the step that also commits the copy and waits for the disc
    int reports = 0;
    const BackupProgress progress = [&](int copied, int count) {
        const qint64 gap = sinceReport.nsecsElapsed();
        if (copied == count)
            lastStepNs = gap;
        else
            longestGapNs = std::max(longestGapNs, gap);
        sinceReport.restart();
        ++reports;
    };
    QString failure;
    const Spread backup = Measure(passes, [&] {
        reports = 0;
        longestGapNs = 0;
        sinceReport.start();
        const Result<QString> made = RotateBackups(catalog, progress);
        failure = made.error;
        return made.ok;
    });
    if (backup.median < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    Print("backup before an import", backup);
    std::printf("%-34s %d reports, longest %.1f ms apart; the last step (commit) %.1f ms\n", "",
                reports, longestGapNs / 1e6, lastStepNs / 1e6);
    catalog.close();

    for (const auto& [name, depth] :
         {std::pair{"quick check", CheckDepth::Quick}, std::pair{"full check", CheckDepth::Full}})
        Print(name, Measure(passes, [&, d = depth] {
                  const Result<QStringList> problems = CheckCatalog(catalogFile, d);
                  return problems && problems.value.isEmpty();
              }));

    const QString restored = catalogFile + QStringLiteral(".restored");
    Print("restore (check, copy, renames)", Measure(passes, [&] {
              const Result<QString> done =
                  RestoreCatalog(BackupFileName(catalogFile, 1), restored, QStringLiteral("old"));
              if (!done.value.isEmpty())
                  QFile::remove(done.value);
              return done.ok;
          }));
    QFile::remove(restored);
    for (int generation = 1; generation <= kBackupGenerations; ++generation)
        QFile::remove(BackupFileName(catalogFile, generation));
    return 0;
}
