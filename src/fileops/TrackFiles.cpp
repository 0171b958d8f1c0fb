#include "fileops/TrackFiles.h"

#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "platform/Files.h"

#include <functional>

namespace tarl {

namespace {

// Status and yield for one operation over `total` files.
class Progress {
public:
    Progress(const FileOpHooks& hooks, const QString& what, qsizetype total)
        : hooks_(hooks), total_(total) {
        if (hooks_.status)
            hooks_.status(1, what);
    }
    // A turn for the window inside one file's copy.
    std::function<void()> turn() const { return hooks_.yield; }
    // One more file done (or failed): the count, then a turn for the window.
    void step() {
        ++done_;
        if (hooks_.status)
            hooks_.status(2, QStringLiteral("%1 of %2").arg(done_).arg(total_));
        if (hooks_.yield)
            hooks_.yield();
    }
    void fail(std::vector<FileFailure>& failures, FileFailure failure) const {
        if (hooks_.failed)
            hooks_.failed(failure);
        failures.push_back(std::move(failure));
    }

private:
    const FileOpHooks& hooks_;
    qsizetype total_;
    qsizetype done_ = 0;
};

} // namespace

CopyDone CopySelectedFiles(Files& files, const std::vector<TrackFile>& selected,
                           const QString& destination, const FileOpHooks& hooks) {
    CopyDone done;
    Progress progress(hooks, QStringLiteral("Copying files"), std::ssize(selected));
    for (const TrackFile& file : selected) {
        if (files.copyFileInSteps(file.source(), destination + file.name, progress.turn()))
            ++done.copied;
        else
            progress.fail(done.failures,
                          {file.row, QStringLiteral("Error Copying File: ") + file.source(),
                           QStringLiteral("Copy Error"), MsgIcon::Critical});
        progress.step();
    }
    return done;
}

MoveDone MoveSelectedFiles(Files& files, Catalog& catalog, const std::vector<TrackFile>& selected,
                           const QString& destination, const FileOpHooks& hooks) {
    MoveDone done;
    Progress progress(hooks, QStringLiteral("Moving files"), std::ssize(selected));
    for (const TrackFile& file : selected) {
        if (files.moveFileInSteps(file.source(), destination + file.name, progress.turn())) {
            done.movedRows.push_back(file.row);
            // The file is gone from its folder whatever the catalog says next; a track left
            // behind is reported, and the next re-scan of its old folder drops it.
            if (const Result<> deleted = DeleteTrack(catalog, file.trackId); !deleted)
                progress.fail(done.failures,
                              {file.row,
                               QStringLiteral("The track of %1 stays in the data base: %2")
                                   .arg(file.source(), deleted.error),
                               QStringLiteral("Move files in Hard Disc"), MsgIcon::Critical});
        } else {
            progress.fail(done.failures,
                          {file.row, QStringLiteral("Error Moving File: ") + file.source(),
                           QStringLiteral("Move files in Hard Disc"), MsgIcon::Exclamation});
        }
        progress.step();
    }
    return done;
}

DeleteDone DeleteSelectedFiles(Files& files, const std::vector<TrackFile>& selected,
                               const FileOpHooks& hooks) {
    DeleteDone done;
    Progress progress(hooks, QStringLiteral("Deleting files"), std::ssize(selected));
    for (const TrackFile& file : selected) {
        if (!files.removeFile(file.source())) {
            done.keptRows.push_back(file.row);
            progress.fail(done.failures,
                          {file.row, file.source() + QStringLiteral(" not was removed "), QString(),
                           MsgIcon::Critical});
        }
        progress.step();
    }
    return done;
}

Result<> DeleteTracks(Catalog& catalog, const std::vector<qint64>& trackIds) {
    for (const qint64 id : trackIds) {
        if (Result<> deleted = DeleteTrack(catalog, id); !deleted)
            return deleted;
    }
    return {};
}

Result<> ForgetFolderVolume(Catalog& catalog, const QString& folder) {
    const Lookup<bool> exists = VolumeNameExists(catalog, folder);
    if (!exists)
        return Result<>::failed(exists.error);
    if (!exists.value)
        return {};
    return DeleteVolumesKeepingLists(catalog, folder);
}

} // namespace tarl
