#pragma once

#include <QString>

namespace tarl {

class Drives;

// A list's place in table M3u: the folder that holds it and its own name there.
struct ListPathParts {
    QString path; // ends in "/"
    QString file; // "party.m3u", "rock/" for a folder of tracks, "." for a drive root

    bool operator==(const ListPathParts&) const = default;
};

// The text up to and including the last "/" of `path`; "" when there is none.
// "/music/party.m3u" gives "/music/"; "/music/rock/" gives itself.
QString FolderOf(const QString& path);

// Removes one trailing "/" from `path` itself, then gives the text after its last "/".
// Callers pass a copy when they need the path again.
QString LastPathPart(QString& path);

// The (path, file) pair under which table M3u stores the list at `listPath`:
// "/music/party.m3u" gives ("/music/", "party.m3u"), the folder "/music/rock/" gives
// ("/music/", "rock/"), and a drive root such as "/media/cd/" gives ("/media/cd/", ".").
ListPathParts SplitListPath(const QString& listPath, const Drives& drives);

// True when `path` is, letter for letter, a drive root ("/media/cd/", not "/media/cd//").
// The catalog's rules ask this of a path's text, as they once asked for three characters.
bool IsDriveRootText(const QString& path, const Drives& drives);

} // namespace tarl
