#pragma once

#include "scan/ScanImport.h"
#include "scan/ScanWalker.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace tarl {

struct Catalog;
class Drives;
class Files;

// The re-scan of a folder of the library tree (the toolbar's re-scan): the walk of the scan
// window over that folder with the window's choices, then the import of what it found, as the
// scan window's SCAN and "Add to DataBase" do one after the other. The window shows what it
// returns; nothing here shows a box.

// The scan window's choices as last set; the defaults are the window's own at its first opening.
struct RescanOptions {
    ScanCollect collect = ScanCollect::SoundFiles;
    SoundFormats formats = SoundFormats::All();
    bool subfolders = true;
    // "Folder profundity" for the playlist walk's duplicate purge; a depth other than "1" to "4"
    // comes back as "2".
    QString depth = QStringLiteral("2");
};

// Where the re-scan reads and writes: the catalog, the file system and the drives, and the label
// new volumes get (the CD name, or "EOF" on the hard disc), kept between scans.
struct RescanPlace {
    Catalog& catalog;
    const Files& files;
    const Drives& drives;
    QString& currentLabel;
    // This machine's map: the import stores the walked folder's paths in their stored form.
    const PathMap* pathMap = nullptr;
};

// What the walk left for the window to show before the import runs.
struct RescanWalk {
    // The folder is a CD volume key from the library tree ("<label>:>path"): not walked, and
    // the window says "This function not run with CD".
    bool cdKey = false;
    // FirstEntryFolder's sentences from the playlist walk's duplicate purge, each for a box.
    QStringList purgeFailures;
};

// How the re-scan reaches the window while it runs.
struct RescanSteps {
    // A folder on a CD drive asks for the CD's name (the label proposed is currentLabel, the
    // disc's volume label); false leaves the folder unwalked.
    std::function<bool()> nameCd;
    // The main window's status panels: 1 what is being scanned, 2 the folder and the import's
    // progress.
    std::function<void(int panel, const QString& text)> status;
    // Between two entries of the walk and two nodes of the import: lets the windows run; false
    // (the program is closing) stops the walk at its next entry or the import after its node,
    // and nothing more runs.
    std::function<bool()> turn;
    // The walk is over: the window shows what it left, before the import starts.
    std::function<void(const RescanWalk& walk)> walked;
    // The import starts (true) and ends (false): meanwhile the catalog must not be closed.
    std::function<void(bool running)> importing;
};

// What a re-scan did. `stopped`: stopped by `turn` (the program is closing), no message wanted.
struct RescanDone {
    ScanImportResult import;
    bool stopped = false;
    // Why the copy of the catalog made before the import failed, "" when it was made.
    QString backupFailure;
};

// Walks `folder` and imports what was found. Fails with the sentence of the scan window's box
// when the catalog refused a write (ImportFailureText); the import's counts stay in the value
// only when it worked.
Result<RescanDone> Rescan(const RescanPlace& place, const QString& folder,
                          const RescanOptions& options, const RescanSteps& steps);

// The box an import the catalog refused gets: the reason, and how many nodes were written.
QString ImportFailureText(const ScanImportResult& result);

// The walk's options for `folder` with those choices: on a CD drive every folder node shows
// `currentLabel`, the CD's name.
ScanOptions WalkOptions(const RescanOptions& choices, const QString& folder, const Drives& drives,
                        const QString& currentLabel);

} // namespace tarl
