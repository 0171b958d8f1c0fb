#pragma once

#include "fileops/FileBounds.h"
#include "platform/Ui.h"
#include "text/Result.h"

#include <QSet>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace tarl {

struct Catalog;
class Files;

// Copy, move and delete of the files behind the track list's selected rows, one file at a time,
// in list order. A file that fails gives one failure (the box the window shows) and the
// operation goes on with the next. Nothing is ever overwritten: copy and move go through the
// platform's no-replace calls, so a destination that exists, or appears meanwhile, makes that
// file fail and leaves both files as they were. Nothing here shows a box: the window shows
// what the hooks and results say. Nothing leaves the bounds (FileBounds): a file outside them,
// a name that would lead out of the destination, or a destination outside every volume makes
// that file fail with the reason.

// One selected row: its position in the list, its file's folder (ending in "/") and name, and
// its track's catalog id.
struct TrackFile {
    int row = 0;
    QString folder;
    QString name;
    qint64 trackId = 0;
    QString source() const { return folder + name; }
};

// A file that failed, as its box: text, title and icon.
struct FileFailure {
    int row = 0;
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    bool operator==(const FileFailure&) const = default;
};

// How an operation reaches the window while it runs.
struct FileOpHooks {
    // The main window's status panels: 1 what runs ("Copying files"), 2 the progress ("n of N").
    std::function<void(int panel, const QString& text)> status;
    // After every file, so the window repaints while thousands of files go.
    std::function<void()> yield;
    // A file failed: the window shows the box at once; the operation then goes on.
    std::function<void(const FileFailure& failure)> failed;
};

struct CopyDone {
    int copied = 0;
    std::vector<FileFailure> failures;
    // True when at least one file was copied, so the destination wants a re-scan.
    bool ok() const { return copied > 0; }
};

// Copies each file into `destination` (a folder ending in "/") under its own name.
CopyDone CopySelectedFiles(Files& files, const FileBounds& bounds,
                           const std::vector<TrackFile>& selected, const QString& destination,
                           const FileOpHooks& hooks);

struct MoveDone {
    // Positions of the rows whose file moved, ascending: the window removes these rows.
    std::vector<int> movedRows;
    std::vector<FileFailure> failures;
    bool ok() const { return !movedRows.empty(); }
};

// Moves each file into `destination`, then deletes the tracks of the moved files from the
// catalog (their rows go from the list; the re-scan of the destination lists them again). A
// file that did not move keeps its track and its row. A track the catalog refused to delete is
// a failure of its own.
MoveDone MoveSelectedFiles(Files& files, Catalog& catalog, const FileBounds& bounds,
                           const std::vector<TrackFile>& selected, const QString& destination,
                           const FileOpHooks& hooks);

struct DeleteDone {
    // Rows whose file could not be deleted: they leave the selection and keep their tracks.
    std::vector<int> keptRows;
    std::vector<FileFailure> failures;
};

// The question asked before files are deleted, and the files it names: a file outside the bounds
// is deleted only when the person read its name, so those are listed first.
struct DeleteQuestion {
    // "Do you want to remove selected files from the hard disc?", the count, and the files: all
    // of them up to ten, else the first ten and "and N more".
    QString text;
    // The files the text names, resolved.
    QSet<QString> named;
};
DeleteQuestion AskDeleteFiles(const FileBounds& bounds, const std::vector<TrackFile>& selected);

// Deletes each file from the disc (the catalog is the caller's next step, DeleteTracks, for the
// rows still selected): those inside the bounds and those the question named. The others stay,
// told in one failure.
DeleteDone DeleteSelectedFiles(Files& files, const FileBounds& bounds,
                               const std::vector<TrackFile>& selected, const DeleteQuestion& asked,
                               const FileOpHooks& hooks);

// Deletes these tracks from the catalog, in order; stops at the first the catalog refuses, with
// its reason.
Result<> DeleteTracks(Catalog& catalog, const std::vector<qint64>& trackIds);

// Before the re-scan of a folder that received files: every volume named `folder` leaves the
// catalog (its lists and tracks stay), so the re-scan makes it again from what is on the disc.
Result<> ForgetFolderVolume(Catalog& catalog, const QString& folder);

} // namespace tarl
