#include "scan/ScanWalker.h"

#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/PathRules.h"
#include "scan/ScanTree.h"
#include "text/PathText.h"
#include "text/PlaylistText.h"

#include <QElapsedTimer>
#include <vector>

namespace tarl {

namespace {

// Well inside the 50 ms the window may wait, leaving room for the entry being handled.
constexpr qint64 kYieldEveryMs = 20;

// One folder being walked: its entries, taken once, and where the walk is in them.
struct Level {
    QString folder; // ends in "/"; also the folder node's key
    QList<FileEntry> entries;
    qsizetype next = 0;
    int matches = 0;
};

bool Matches(const FileEntry& entry, const ScanOptions& options, bool soundFiles) {
    if (entry.isDir)
        return false;
    if (!soundFiles)
        return IsPlaylistFileName(entry.name);
    return options.formats.matches(entry.name);
}

} // namespace

bool IsCdDrive(const QString& path, const Drives& drives) {
    const QString root = DriveOf(path, drives);
    if (root.isEmpty())
        return false;
    return drives.driveType(root) == DriveType::CdRom;
}

QString SkippedCdDrivesText(const QStringList& mountPoints) {
    if (mountPoints.isEmpty())
        return {};
    return (mountPoints.size() == 1 ? QStringLiteral("Skipped the CD drive ")
                                    : QStringLiteral("Skipped the CD drives ")) +
           mountPoints.join(QStringLiteral(", ")) +
           QStringLiteral(": scan each disc from its own drive.");
}

ScanWalker::ScanWalker(ScanTree& tree, const Files& files, const Drives& drives)
    : tree_(tree), files_(files), drives_(drives) {}

ScanResult ScanWalker::walk(const ScanOptions& options) {
    if (options.collect == ScanCollect::SoundFiles)
        return WalkSoundFiles(options);
    return WalkPlaylists(options);
}

ScanResult ScanWalker::WalkPlaylists(const ScanOptions& options) {
    return run(options, false);
}

ScanResult ScanWalker::WalkSoundFiles(const ScanOptions& options) {
    return run(options, true);
}

ScanResult ScanWalker::run(const ScanOptions& options, bool soundFiles) {
    ScanResult result;
    stopRequested_ = false;
    // Nothing to walk; an empty key would leave a node nothing could find again.
    if (options.folder.isEmpty())
        return result;
    const ScanNodeKind folderKind =
        soundFiles ? ScanNodeKind::SoundFolder : ScanNodeKind::PlaylistFolder;
    const ScanNodeKind fileKind = soundFiles ? ScanNodeKind::SoundFile : ScanNodeKind::Playlist;

    QElapsedTimer sinceYield;
    sinceYield.start();
    const auto yield = [&] {
        if (yield_)
            yield_();
        sinceYield.restart();
    };
    const auto yieldWhenDue = [&] {
        if (sinceYield.elapsed() >= kYieldEveryMs)
            yield();
    };

    // A disc mounted inside the folder would be filed under this walk's volume and name.
    const QString ownDrive = drives_.driveRoot(WithTrailingSlash(options.folder));
    const auto otherCdDrive = [&](const QString& folder) {
        return folder != ownDrive && drives_.driveRoot(folder) == folder &&
               drives_.driveType(folder) == DriveType::CdRom;
    };

    // Levels instead of recursion on the call stack: no depth limit, however deep the folders.
    std::vector<Level> levels;
    const auto enter = [&](const QString& folder) {
        ++result.foldersWalked;
        const QString text = options.onCd ? options.currentLabel : folder;
        ScanNode& node = tree_.addRoot(QString(), text, folderKind);
        // A folder already in the tree (its path is some node's key) is not walked again.
        if (tree_.hasKey(text) || !tree_.setKey(node, folder)) {
            tree_.remove(&node);
            return;
        }
        // A folder of many thousand files takes longer to list than the window may wait. The
        // walk needs names and kinds only: the tag reader learns each size as it opens the file.
        FolderListing listing = files_.listKindsInSteps(folder, yieldWhenDue);
        if (!listing.ok())
            ++result.unreadableFolders;
        levels.push_back({folder, std::move(listing.entries), 0, 0});
    };
    const auto stopNow = [&] {
        if (soundFiles)
            tree_.removeEmptyFolders();
        result.stopped = true;
        return result;
    };

    enter(WithTrailingSlash(options.folder));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next >= level.entries.size()) {
            // Folders without direct matches leave no node.
            if (level.matches == 0)
                tree_.remove(tree_.find(level.folder));
            levels.pop_back();
            continue;
        }
        const FileEntry entry = level.entries.at(level.next++);
        yieldWhenDue();
        if (stopRequested_)
            return stopNow();
        if (entry.isHidden)
            continue;

        if (Matches(entry, options, soundFiles)) {
            ScanNode* node = tree_.find(level.folder);
            // The tree was cleared under the walk (while it yielded): nothing left to add to.
            if (!node)
                return stopNow();
            ++level.matches;
            ++result.matches;
            tree_.addChild(*node, level.folder + entry.name, entry.name, fileKind);
        }

        // A linked folder is not entered: links can make loops, and the folder they name is
        // walked where it really lies.
        if (!entry.isDir || entry.isSymlink || !options.subfolders)
            continue;
        const QString shown = level.folder + entry.name;
        if (otherCdDrive(shown + u'/')) {
            result.skippedCdDrives << shown + u'/';
            continue;
        }
        if (shown_)
            shown_(shown);
        if (soundFiles && status_)
            status_(shown);
        yield();
        if (stopRequested_)
            return stopNow();
        enter(shown + u'/');
    }
    return result;
}

} // namespace tarl
