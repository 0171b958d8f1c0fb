#include "ImportCommand.h"

#include "Command.h"
#include "ProgressBar.h"
#include "catalog/CatalogFind.h"
#include "catalog/engine/Connection.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "platform/VolumeLabelText.h"
#include "scan/PurgeDuplicateM3u.h"
#include "scan/ScanImport.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"
#include "text/PathMap.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace tarl::tool {

namespace {

const char kUsage[] = "Usage: tarl-catalog import [--playlists|--sound-files|--all] [--no-subdirs] "
                      "[--depth N] [--cd-name NAME] [--formats mp3,wav,wma,flac,ogg,m4a] "
                      "--catalog CATALOG FOLDER\n";

struct ImportArguments {
    ScanCollect collect = ScanCollect::SoundFiles;
    bool subfolders = true;
    QString depth = QStringLiteral("2");
    QString cdName;
    bool cdNameGiven = false;
    QString catalog;
    QString folder;
    QString formats = SoundFormats::All().keys();
};

// False on anything the usage does not allow.
bool Parse(const QStringList& arguments, ImportArguments* parsed) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--playlists")) {
            parsed->collect = ScanCollect::Playlists;
        } else if (a == QLatin1String("--sound-files")) {
            parsed->collect = ScanCollect::SoundFiles;
        } else if (a == QLatin1String("--all")) {
            parsed->collect = ScanCollect::AllFiles;
        } else if (a == QLatin1String("--no-subdirs")) {
            parsed->subfolders = false;
        } else if (a == QLatin1String("--depth") && hasValue) {
            parsed->depth = arguments.at(++i);
        } else if (a == QLatin1String("--cd-name") && hasValue) {
            parsed->cdName = arguments.at(++i);
            parsed->cdNameGiven = true;
        } else if (a == QLatin1String("--formats") && hasValue) {
            parsed->formats = arguments.at(++i);
        } else if (a == QLatin1String("--catalog") && hasValue) {
            parsed->catalog = arguments.at(++i);
        } else if (a.startsWith(u'-') || !parsed->folder.isEmpty()) {
            return false;
        } else {
            parsed->folder = a;
        }
    }
    return !parsed->catalog.isEmpty() && !parsed->folder.isEmpty();
}

// A copy of the catalog as it was before the import (CATALOG.bak1, the older ones moved down). One
// that cannot be made is said and the import goes on: it is a safety net, not a condition.
void BackUpBeforeImport(Connection& catalog, QTextStream& err) {
    ProgressBar bar(QStringLiteral("pages backed up"));
    const Result<QString> backedUp =
        RotateBackups(catalog, [&bar](int copied, int count) { bar.update(count, copied); });
    bar.finish();
    if (!backedUp)
        err << "tarl-catalog import: " << backedUp.error << " The import goes on without it.\n";
}

} // namespace

int RunImport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    ImportArguments args;
    if (!Parse(arguments, &args)) {
        err << kUsage;
        return kBadUsage;
    }
    const Result<SoundFormats> formats = SoundFormats::FromKeys(args.formats);
    if (!formats || formats.value.isEmpty()) {
        err << "tarl-catalog import: "
            << (formats ? QStringLiteral("--formats names no sound format") : formats.error) << "\n"
            << kUsage;
        return kBadUsage;
    }
    // The catalog is opened as the window opens it: never created here.
    Catalog catalog;
    if (!catalog.connection.open(args.catalog)) {
        err << "tarl-catalog import: " << catalog.connection.lastError() << "\n";
        return kFailure;
    }
    PrintCatalogNote(catalog.connection, "import", err);
    // Said before the walk, which can take a while, rather than at the import's first write.
    if (catalog.connection.isReadOnly()) {
        err << "tarl-catalog import: The catalog file " << args.catalog
            << " is read-only; nothing was imported.\n";
        return kFailure;
    }
    const QFileInfo folderInfo(args.folder);
    if (!folderInfo.isDir()) {
        err << "tarl-catalog import: not a folder: " << args.folder << "\n";
        return kFailure;
    }
    QString folder = QDir::cleanPath(folderInfo.absoluteFilePath());
    if (!folder.endsWith(u'/'))
        folder += u'/';
    // Stored as the window of this machine stores it.
    const PathMap pathMap = MachinePathMap();
    if (const QString stored = pathMap.toStored(folder); stored != folder)
        err << "tarl-catalog import: " << folder << " is stored as " << stored
            << " (this machine's PathMap)\n";

    const LinuxDrives drives;
    const LocalFiles files;
    const bool onCd = IsCdDrive(folder, drives);
    // A disc is named as the scan window's CD-name dialog names it: the given name, else the
    // disc's own label; an empty name or one a volume already carries stops the scan.
    QString label = QStringLiteral("EOF");
    if (onCd) {
        label = args.cdNameGiven ? args.cdName : VolumeLabelOf(drives, drives.driveRoot(folder));
        if (label.isEmpty()) {
            err << "tarl-catalog import: the CD has no name; give one with --cd-name\n";
            return kFailure;
        }
        const Lookup<bool> used = VolumeLabelExists(catalog, label);
        if (!used.ok || used.value) {
            err << "tarl-catalog import: "
                << (used.ok ? QStringLiteral("The CD name already exist in DB") : used.error)
                << "\n";
            return kFailure;
        }
    }

    ScanTree tree;
    ScanWalker walker(tree, files, drives);
    ScanOptions options;
    options.collect = args.collect;
    options.subfolders = args.subfolders;
    options.formats = formats.value;
    options.folder = folder;
    options.onCd = onCd;
    options.currentLabel = label;
    const ScanResult walked = walker.walk(options);
    // An unreadable playlist removes nothing; the command line has never reported it.
    if (args.collect == ScanCollect::Playlists)
        PurgeDuplicateM3u(tree, args.depth);
    if (!walked.skippedCdDrives.isEmpty())
        err << "tarl-catalog import: " << SkippedCdDrivesText(walked.skippedCdDrives) << "\n";

    BackUpBeforeImport(catalog.connection, err);
    ProgressBar bar(QStringLiteral("nodes"));
    ScanImportHooks hooks;
    hooks.progress = [&bar](int maximum, int value) { bar.update(maximum, value); };
    const ScanImportResult imported =
        ImportScanTree(catalog, drives, tree, label, folder, hooks, {}, pathMap);
    bar.finish();

    if (imported.failed())
        err << "tarl-catalog import: " << imported.failure << "\n"
            << "tarl-catalog import: stopped with " << imported.nodesWritten << " of "
            << imported.nodes << " nodes written; once the catalog takes writes again, a second "
            << "run adds the rest\n";
    for (const QString& why : imported.errors)
        err << "tarl-catalog import: " << why << "\n";
    if (imported.errorCount > imported.errors.size())
        err << "tarl-catalog import: " << imported.errorCount - imported.errors.size()
            << " more errors\n";
    out << "folders walked: " << walked.foldersWalked << "\n"
        << "unreadable folders: " << walked.unreadableFolders << "\n"
        << "files found: " << walked.matches << "\n"
        << "nodes written: " << imported.nodesWritten << " of " << imported.nodes << "\n"
        << "volumes added: " << imported.volumes << "\n"
        << "lists added: " << imported.lists << "\n"
        << "tracks added: " << imported.tracks << "\n"
        << "errors: " << imported.errorCount << "\n";
    return imported.failed() ? kFailure : kSuccess;
}

} // namespace tarl::tool
