#pragma once

#include <QString>

#include <functional>

namespace tarl {

class ImportStatements;

struct Catalog;
struct ScanNodeValues;
struct TagFields;
class Drives;

// The catalog's inserts. Each looks for its row first and writes only what is not there yet, so
// an import can run again over the same scan. Arguments are raw values (each routine quotes what
// it splices into its statements); ids are 64-bit. Statements run through the general result
// holder. A statement that fails ends the routine: false, with the reason in the connection's
// lastError().

// Adds the hard-disc folder `folder` (ending in "/") as a volume, unless a volume has that name.
// New volumes are on the hard disc from here on: `currentLabel` becomes the marker "EOF".
bool AddFolderVolume(Catalog& catalog, const QString& folder, QString& currentLabel);

// Adds a sound file found by a scan to volume `volumeId`: the list of its folder when that list
// is not there yet, then the track with its tag values and size text, unless the list holds it
// already. An empty tag value is stored as a single space.
bool AddFolderTrack(Catalog& catalog, const Drives& drives, const ScanNodeValues& track,
                    const TagFields& tags, qint64 volumeId);
// The same through an import's prepared statements and kept list ids; the rows written are the
// same.
bool AddFolderTrack(const Drives& drives, const ScanNodeValues& track, const TagFields& tags,
                    qint64 volumeId, ImportStatements& statements);

// Adds a playlist file found by a scan as a list of volume `volumeId`, unless it is there.
bool AddPlaylistList(Catalog& catalog, const ScanNodeValues& playlist, qint64 volumeId);
// The same through an import's prepared statements.
bool AddPlaylistList(const ScanNodeValues& playlist, qint64 volumeId, ImportStatements& statements);

// Adds every entry of the playlist file at `playlistPath` to list `listId` as a track (path and
// file name only), skipping entries the list holds already. Relative entries are taken from the
// playlist's folder. Stops at the first error, keeping what was added before it: false, with
// the reason in *error.
bool AddPlaylistTracks(Catalog& catalog, const QString& playlistPath, qint64 listId,
                       QString* error = nullptr);

// How an import runs AddPlaylistTracks.
struct PlaylistTracksRun {
    // The import's prepared statements; null runs the literal ones (the rows are the same).
    ImportStatements* statements = nullptr;
    // Called every so many entries (at least every 20 ms and every 500 entries), so the windows
    // stay responsive inside a huge playlist. False stops the routine there, keeping the entries
    // added so far (a second run adds the rest), and sets `stopped`.
    std::function<bool()> yield;
    bool stopped = false;
    // Set by each call: the catalog refused a statement (the reason is the routine's error), as
    // against a playlist file that could not be read.
    bool refused = false;
};
bool AddPlaylistTracks(Catalog& catalog, const QString& playlistPath, qint64 listId, QString* error,
                       PlaylistTracksRun& run);

// What AddStyle did.
enum class StyleAdded { Added, AlreadyThere, Failed };
struct [[nodiscard]] AddStyleResult {
    StyleAdded outcome = StyleAdded::Added;
    // With AlreadyThere, the sentence for the person in front of the screen; the window shows it
    // in an information box (OK) with the application's title. "" otherwise.
    QString notice;
    // False only when a statement failed (the connection's lastError() says why).
    bool ok() const { return outcome != StyleAdded::Failed; }
};

// Adds the style `name`. A style of that name already there (case aside) is not written again:
// AlreadyThere, with the notice.
AddStyleResult AddStyle(Catalog& catalog, const QString& name);

} // namespace tarl
