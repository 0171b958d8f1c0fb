#pragma once

#include "text/PathMap.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <utility>

namespace tarl {

struct Catalog;
class Drives;
class ScanTree;

// How the import reports and where it lets the rest of the program run.
struct ScanImportHooks {
    // The progress bar: its maximum (the node count) and the index of the node just done.
    std::function<void(int maximum, int value)> progress;
    // The main window's status panel 2.
    std::function<void(const QString& text)> status;
    // Called after every node, so the windows stay responsive. False stops the import after the
    // node just done (its batch is committed).
    std::function<bool()> yield;
};

// When the open transaction is committed: after this many nodes or this much time, whichever
// comes first.
struct ScanImportBatching {
    int nodes = 1000;
    int milliseconds = 250;
};

// What an import did, for the window's message and the tool's summary.
struct ScanImportResult {
    int nodes = 0;        // the scan tree's node count ("Added n files")
    int nodesDone = 0;    // nodes gone through in both passes, less when stopped
    bool stopped = false; // the yield hook asked to stop
    // The rows this import inserted in batches that were committed; another writer's rows, or a
    // trigger's, are not counted.
    qint64 volumes = 0; // in CD
    qint64 lists = 0;   // in M3u
    qint64 tracks = 0;  // in Mp3
    int errorCount = 0; // tags or playlist files that could not be read; the import went on
    QStringList errors; // the first few reasons
    // A statement the catalog refused (read-only, disc full, locked, a trigger's error) stops the
    // import: the open batch is rolled back and `failure` says why, as a sentence for the user.
    // `nodesWritten` counts the nodes whose rows are committed (all `nodes` once it is done).
    int nodesWritten = 0;
    QString failure;
    // The label new volumes get after this import: the CD name it was given, or "EOF" once it met
    // a hard-disc folder. The caller keeps it for the next scan.
    QString currentLabel;
    bool failed() const { return !failure.isEmpty(); }
};

// Turns the scan tree into catalog rows, a volume per folder node, a list per
// folder of sound files or playlist, a track per sound file or playlist entry. Every insert is
// preceded by a look-up of the same row, so running it again over the same tree adds only what
// is missing. `currentLabel` is the CD name given during the scan; a hard-disc folder node makes
// it "EOF" for the rest of the import, and the result says what it was at the end. `pathScan` is
// the scanned folder (depth 0), whose disc gives a new CD volume its `labelcd`.
//
// The writes go in transactions committed in batches, so a crash or kill leaves whole batches
// and a consistent file. A statement the catalog refuses ends the import at once: the open batch
// is rolled back and the ids kept from it forgotten, so no row ever names a list or volume that
// is not there; a rerun completes the import. A tag or playlist file that cannot be read is
// counted and the import goes on. `pathMap` turns the scanned (local) paths of folders, sound
// files, playlists and playlist entries into their stored form before they are looked up or
// written, so machines mounting one share at different places store the same paths; files are read
// and drives asked at the local paths. The final status text ("Added n files") is given only to an
// import that ran to its end; the message box and clearing the status panels are the caller's.
ScanImportResult ImportScanTree(Catalog& catalog, const Drives& drives, const ScanTree& tree,
                                const QString& currentLabel, const QString& pathScan,
                                const ScanImportHooks& hooks = {},
                                const ScanImportBatching& batching = {},
                                const PathMap& pathMap = {});
} // namespace tarl
