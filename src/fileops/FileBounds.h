#pragma once

#include "text/Result.h"

#include <QString>
#include <optional>
#include <vector>

namespace tarl {

struct Catalog;
class PathMap;

// Where the file operations may act: a track's file is deleted, moved or copied only when it
// lies in a volume folder the catalog holds and, for a list's tracks, in that list's folder. A
// catalog's rows are not to be trusted with the disc (a playlist entry "../../x", a row another
// user of a shared catalog put into an album), so each path is judged where it really is: its
// "." and ".." parts gone and its linked folders followed.
struct FileBounds {
    // The volumes' folders at this machine's paths, resolved.
    std::vector<QString> volumes;
    // The list's folder, resolved; none when the files are not a list's. An empty folder is a
    // list whose folder is not known: no file lies in it.
    std::optional<QString> list;

    // Whether the file at `path` lies in a volume's folder and in the list's folder.
    bool holds(const QString& path) const;
    // Whether `folder`, a destination, lies in a volume's folder.
    bool holdsFolder(const QString& folder) const;
    // What lies outside, for the person's sentences.
    QString outsideWords() const;
};

// The catalog's volume folders, and `listFolder` (a catalog path, "" when not known), at this
// machine's paths. Fails when the volumes cannot be read.
Result<FileBounds> ReadFileBounds(Catalog& catalog, const PathMap& pathMap,
                                  const std::optional<QString>& listFolder);

// A name a file or folder may take inside a folder without leaving it: not empty, no "/", not
// "." nor "..". The error is the sentence the person reads.
Result<> CheckFileName(const QString& name);

} // namespace tarl
