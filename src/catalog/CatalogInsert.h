#pragma once

#include "tags/TagFields.h"
#include "text/Result.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tarl {

class ImportStatements;

struct Catalog;
struct ScanNodeValues;
class Drives;
class PathMap;

// The catalog's inserts. Each looks for its row first and writes only what is not there yet, so
// an import can run again over the same scan. Arguments are raw values; ids are 64-bit. A
// statement that fails ends the routine: the result is failed, with the reason (also the
// connection's lastError()).
//
// The scan's rows (tracks, lists, playlist entries) are written through an import's prepared
// statements (ImportStatements), which keep the list ids found for the length of one import; the
// rest run statements of their own, every value bound.

// Adds the hard-disc folder `folder` (ending in "/") as a volume, unless a volume has that name.
// New volumes are on the hard disc from here on: `currentLabel` becomes the marker "EOF".
Result<> AddFolderVolume(Catalog& catalog, const QString& folder, QString& currentLabel);

// Adds a sound file found by a scan to volume `volumeId`: the list of its folder when that list
// is not there yet, then the track with its tag values and size text, unless the list holds it
// already. An empty tag value is stored as a single space.
Result<> AddFolderTrack(const Drives& drives, const ScanNodeValues& track, const TagFields& tags,
                        qint64 volumeId, ImportStatements& statements);

// Adds a playlist file found by a scan as a list of volume `volumeId`, unless it is there.
Result<> AddPlaylistList(const ScanNodeValues& playlist, qint64 volumeId,
                         ImportStatements& statements);

// How an import runs AddPlaylistEntries.
struct PlaylistTracksRun {
    // Called every so many entries (at least every 20 ms and every 500 entries), so a stop is seen
    // inside a huge playlist. False stops the routine there, keeping the entries added so far (a
    // second run adds the rest), and sets `stopped`.
    std::function<bool()> yield;
    bool stopped = false;
    // Set by each call: the catalog refused a statement (the reason is the routine's error), as
    // against a playlist file that could not be read.
    bool refused = false;
    // This machine's map: the entries (found at local paths) are stored in their stored form.
    const PathMap* pathMap = nullptr;
    // The tags and length of the sound file at a local path, none when it is not there or is no
    // sound file: an entry with tags is stored as its folder's track is, one without as its path
    // and file name only.
    std::function<std::optional<TagFields>(const QString& localPath)> tagsOf;
};

// One entry of a playlist as the scan read it: the folder (ending in "/") and the file it names
// on this machine.
struct PlaylistEntryPath {
    QString folder;
    QString file;
};

// Adds every entry of a playlist (read from its file by the scan) to list `listId` as a track
// (with the tags `run.tagsOf` finds, else path and file name only), skipping entries the list
// holds already. The entries are written inside one savepoint of `catalog`'s connection (the one
// `statements` run on), so it nests inside an import's transaction. Stops at the first refused
// statement, keeping what was added before it: failed, with the reason, and `run.refused` set.
Result<> AddPlaylistEntries(Catalog& catalog, ImportStatements& statements,
                            const QList<PlaylistEntryPath>& entries, qint64 listId,
                            PlaylistTracksRun& run);

// What AddStyle did when its statements ran.
struct StyleAdded {
    enum Outcome { Added, AlreadyThere };
    Outcome outcome = Added;
    // With AlreadyThere, the sentence for the person in front of the screen; the window shows it
    // in an information box (OK) with the application's title. "" otherwise.
    QString notice;
};

// Adds the style `name`. A style of that name already there (case aside) is not written again:
// AlreadyThere, with the notice. Failed, with the reason, when a statement failed.
Result<StyleAdded> AddStyle(Catalog& catalog, const QString& name);

} // namespace tarl
