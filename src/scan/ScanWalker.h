#pragma once

#include "scan/SoundFormats.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace tarl {

class Drives;
class Files;
class ScanTree;

// What a walk collects: the scan window's "Playlist files", "Sound files" and "All files"
// (which collects playlists too; only "Playlist files" is followed by the duplicate purge).
enum class ScanCollect { Playlists, SoundFiles, AllFiles };

// The scan window's choices for one walk, as plain values.
struct ScanOptions {
    ScanCollect collect = ScanCollect::SoundFiles;
    // Which sound files the sound-file walk collects ("Mp3", "Wav", "Wma", "Flac", "Ogg", "M4a").
    SoundFormats formats = SoundFormats::All();
    // "Scan Subdirectories".
    bool subfolders = true;
    // The folder at depth 0; a "/" is appended when missing.
    QString folder;
    // On a CD every folder node shows the current label (the CD name) instead of its path.
    bool onCd = false;
    QString currentLabel;
};

// What a walk did.
struct ScanResult {
    qint64 foldersWalked = 0;     // folders whose listing was asked for
    qint64 matches = 0;           // playlists or sound files added to the tree
    qint64 unreadableFolders = 0; // folders that could not be listed (gone, no permission)
    bool stopped = false;         // the walk ended on stop()
    // Mount points of other CD drives met inside the folder and not walked ("/media/cdrom1/").
    QStringList skippedCdDrives;
};

// True when the drive holding `path` is a CD-ROM drive.
bool IsCdDrive(const QString& path, const Drives& drives);

// The status line's sentence for the CD drives a walk did not enter; "" when there were none.
QString SkippedCdDrivesText(const QStringList& mountPoints);

// Walks a folder into the scan tree: one root-level folder node (a PlaylistFolder or SoundFolder,
// text the path or the CD name) per folder that directly holds matches, with the matches as
// children (Playlist or SoundFile nodes; key the folder's path + the file name). The tree is not
// cleared first.
//
// The walk calls `yield` at least every 50 ms and before each subfolder (the scan window's worker
// looks there whether it was asked to stop); stop() may be called from there (or any callback)
// and the walk ends at its next entry. Folders linked by a symlink are not entered,
// so a link loop ends; folders that cannot be listed are skipped and counted. Hidden entries
// (names starting with ".") are passed over, as the original listing passed over hidden files.
// The mount point of a CD drive other than the walk's own is not entered either: that disc is a
// volume of its own, with its own name, and is scanned on its own; the result lists them.
class ScanWalker {
public:
    ScanWalker(ScanTree& tree, const Files& files, const Drives& drives);

    // Runs the event loop for a moment; called at least every 50 ms while walking.
    void setYield(std::function<void()> yield) { yield_ = std::move(yield); }
    // The folder about to be walked (its path without the trailing "/"): the scan window shows
    // it in pathScan.
    void setFolderShown(std::function<void(const QString&)> shown) { shown_ = std::move(shown); }
    // The same, for the sound-file walk only: the main window's status panel 2.
    void setStatusFolder(std::function<void(const QString&)> status) {
        status_ = std::move(status);
    }

    // Runs WalkPlaylists or WalkSoundFiles as options.collect says.
    ScanResult walk(const ScanOptions& options);
    ScanResult WalkPlaylists(const ScanOptions& options);
    ScanResult WalkSoundFiles(const ScanOptions& options);

    // Asks a running walk to end. A stopped sound-file walk removes every childless folder node;
    // a stopped playlist walk may leave the nodes of the folders it was in.
    void stop() { stopRequested_ = true; }
    bool stopRequested() const { return stopRequested_; }

private:
    ScanResult run(const ScanOptions& options, bool soundFiles);

    ScanTree& tree_;
    const Files& files_;
    const Drives& drives_;
    std::function<void()> yield_;
    std::function<void(const QString&)> shown_;
    std::function<void(const QString&)> status_;
    bool stopRequested_ = false;
};

} // namespace tarl
