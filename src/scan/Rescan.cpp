#include "scan/Rescan.h"

#include "catalog/engine/Connection.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "platform/VolumeLabelText.h"
#include "scan/PurgeDuplicateM3u.h"
#include "scan/ScanTree.h"
#include "text/PathText.h"

namespace tarl {

namespace {

// The walk, as the scan window's SCAN runs it; false when it was stopped.
bool Walk(const RescanPlace& place, ScanTree& tree, const QString& folder,
          const RescanOptions& choices, const RescanSteps& steps, RescanWalk& walk) {
    auto status = [&steps](int panel, const QString& text) {
        if (steps.status)
            steps.status(panel, text);
    };
    const ScanOptions options = WalkOptions(choices, folder, place.drives, place.currentLabel);
    if (options.collect == ScanCollect::SoundFiles)
        status(1, QStringLiteral("Scaning Mp3..."));
    if (options.collect == ScanCollect::AllFiles)
        status(1, QStringLiteral("Scaning M3u..."));

    ScanWalker walker(tree, place.files, place.drives);
    walker.setYield([&] {
        if (steps.turn && !steps.turn())
            walker.stop();
    });
    if (options.collect == ScanCollect::SoundFiles)
        walker.setStatusFolder([&](const QString& shown) { status(2, shown); });
    const ScanResult result = walker.walk(options);
    if (!result.skippedCdDrives.isEmpty())
        status(2, SkippedCdDrivesText(result.skippedCdDrives));
    if (result.stopped)
        return false;
    if (options.collect == ScanCollect::Playlists) {
        QString depth = choices.depth;
        walk.purgeFailures = PurgeDuplicateM3u(tree, depth);
    }
    return true;
}

} // namespace

Result<RescanDone> Rescan(const RescanPlace& place, const QString& folder,
                          const RescanOptions& options, const RescanSteps& steps) {
    auto goOn = [&steps] { return !steps.turn || steps.turn(); };
    ScanTree tree;
    RescanWalk walk;
    QString folder0 = folder;
    if (!folder0.endsWith(QLatin1Char('/')))
        folder0 += QLatin1Char('/');
    RescanDone done;

    const qsizetype cdKey = DiscSeparatorIn(folder);
    if (cdKey >= 0) {
        walk.cdKey = true;
        folder0 = folder.mid(cdKey + 2).chopped(1); // the path the scan window showed for it
    } else {
        const bool onCd = IsCdDrive(folder, place.drives);
        if (onCd)
            place.currentLabel = VolumeLabelOf(place.drives, folder);
        // Whether the CD-name question was answered or not, what the walk found is imported (an
        // unwalked folder imports nothing), as SCAN then "Add to DataBase" do.
        const bool named = !onCd || (steps.nameCd && steps.nameCd());
        if (named && !Walk(place, tree, folder0, options, steps, walk)) {
            done.stopped = true;
            return done;
        }
        tree.sortRoots();
    }
    if (!goOn()) {
        done.stopped = true;
        return done;
    }
    if (steps.walked)
        steps.walked(walk);

    ScanImportHooks hooks;
    hooks.status = [&steps](const QString& text) {
        if (steps.status)
            steps.status(2, text);
    };
    hooks.yield = goOn;
    if (steps.importing)
        steps.importing(true);
    // As before every import: a copy of the catalog first, the windows running between its steps.
    const Result<QString> backedUp =
        RotateBackups(place.catalog.connection, [&goOn](int, int) { (void)goOn(); });
    if (!backedUp)
        done.backupFailure = backedUp.error + QStringLiteral(" The import went on without it.");
    done.import = ImportScanTree(place.catalog, place.drives, tree, place.currentLabel, folder0,
                                 hooks, {}, place.pathMap ? *place.pathMap : PathMap());
    place.currentLabel = done.import.currentLabel;
    if (steps.importing)
        steps.importing(false);
    done.stopped = done.import.stopped;
    if (!done.stopped && done.import.failed())
        return Result<RescanDone>::failed(ImportFailureText(done.import));
    return done;
}

QString ImportFailureText(const ScanImportResult& result) {
    return QStringLiteral("The catalog refused a write, so the import stopped.\n%1\n\n"
                          "%2 of %3 nodes were written; run the import again once the "
                          "catalog can be written to add the rest.")
        .arg(result.failure)
        .arg(result.nodesWritten)
        .arg(result.nodes);
}

ScanOptions WalkOptions(const RescanOptions& choices, const QString& folder, const Drives& drives,
                        const QString& currentLabel) {
    ScanOptions options;
    options.collect = choices.collect;
    options.formats = choices.formats;
    options.subfolders = choices.subfolders;
    options.folder = folder;
    options.onCd = IsCdDrive(folder, drives);
    options.currentLabel = currentLabel;
    return options;
}

} // namespace tarl
