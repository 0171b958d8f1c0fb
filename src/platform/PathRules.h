#pragma once

#include <QString>

namespace tarl {

class Drives;
class Files;

// The path rules that ask the machine: which drive holds a path, whether a path is still there.
// The rules of a path's text alone are in text/PathText.h. Paths are native: "/" separates, a
// folder path ends in "/", and the drive of a path is its drive root ("/",
// "/media/ann/MUSIC_01/", ...) as Drives reports it.

// The drive root holding `path`, ending in "/"; "" for a relative or empty path.
QString DriveOf(const QString& path, const Drives& drives);

// True when `path` names a drive root itself (with or without its trailing "/").
bool IsDriveRoot(const QString& path, const Drives& drives);

// True when `path` is, letter for letter, a drive root ("/media/cd/", not "/media/cd//").
// The catalog's rules ask this of a path's text, as they once asked for three characters.
bool IsDriveRootText(const QString& path, const Drives& drives);

// A list's place as the catalog stores it (table M3u): the folder that holds it and its own
// name there.
struct ListPathParts {
    QString path; // ends in "/"
    QString file; // "party.m3u", "rock/" for a folder of tracks, "." for a drive root

    bool operator==(const ListPathParts&) const = default;
};

// The (path, file) pair under which the catalog stores the list at `listPath`:
// "/music/party.m3u" gives ("/music/", "party.m3u"), the folder "/music/rock/" gives
// ("/music/", "rock/"), and a drive root such as "/media/cd/" gives ("/media/cd/", ".").
ListPathParts SplitListPath(const QString& listPath, const Drives& drives);

// Whether a folder (a path ending in "/") or a file (any other path) exists: a folder asked for
// as a file, or a file asked for as a folder, does not. "" never exists.
bool PathExists(const Files& files, const QString& path);

} // namespace tarl
