#pragma once

#include "fileops/TrackFiles.h"

#include <QString>
#include <functional>
#include <vector>

namespace tarl {

struct AppState;
class LibraryBrowser;
class PathMap;
class TrackListModel;
class Ui;

// What the file operations need from the track list, and how their reports reach the window.

// The files behind these rows of the list (positions in list order), at this machine's paths
// (`pathMap` turns the catalog's folders into local ones).
std::vector<TrackFile> SelectedTrackFiles(const TrackListModel& model, const std::vector<int>& rows,
                                          const PathMap& pathMap);

// The bounds of an operation on these selected files: the catalog's volumes and the folder of
// the list they are from. That list is the tree node listed last, which a right click on the
// tree or a key may have left since; a node counts only when every selected track is one of
// its own, and when none does, the list's folder is not known and no file lies in it.
Result<FileBounds> SelectedFilesBounds(AppState& state, LibraryBrowser& browser,
                                       const std::vector<TrackFile>& selected);

// The window's hooks for a file operation: the status panels, a repaint after every file (the
// person's clicks and keys wait until the operation ends, so the list cannot change under it),
// and each failure's box.
FileOpHooks WindowFileOpHooks(Ui& ui, const std::function<void(int, const QString&)>& setStatus);

} // namespace tarl
