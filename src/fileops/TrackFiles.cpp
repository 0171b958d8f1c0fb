#include "fileops/TrackFiles.h"

#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "platform/Files.h"
#include "platform/LocalFiles.h"

#include <QStringList>
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

const QString kDeleteTitle = QStringLiteral("Remove Files from Hard Disc");
// The most files a box names; the rest are counted.
constexpr qsizetype kNamedAtMost = 10;

// Why `file` may not go into `destination` under its own name; ok when it may.
Result<> CheckTransfer(const FileBounds& bounds, const TrackFile& file,
                       const QString& destination) {
    if (Result<> name = CheckFileName(file.name); !name)
        return name;
    if (!bounds.holds(file.source()))
        return Result<>::failed(QStringLiteral("The file lies %1.").arg(bounds.outsideWords()));
    if (!bounds.holdsFolder(destination))
        return Result<>::failed(
            QStringLiteral("The folder %1 lies outside the catalog's folders.").arg(destination));
    return {};
}

// The failure's text: what failed, then why: the reason known before trying, else the system's.
QString FailureText(const QString& what, const TrackFile& file, const Result<>& refused,
                    const QString& systemReason) {
    const QString text = what + file.source();
    if (!refused)
        return text + u'\n' + refused.error;
    return systemReason.isEmpty() ? text : text + u'\n' + systemReason;
}

// Where the file really is, as a box names it and the delete reaches it.
QString ShownPath(const TrackFile& file) {
    const QString resolved = ResolvedFilePath(file.source());
    return resolved.isEmpty() ? file.source() : resolved;
}

// Up to ten paths, one a line, then "and N more".
QString NamedLines(const QStringList& paths) {
    QString lines = paths.mid(0, kNamedAtMost).join(u'\n');
    if (paths.size() > kNamedAtMost)
        lines += QStringLiteral("\nand %1 more").arg(paths.size() - kNamedAtMost);
    return lines;
}

QString FilesCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

} // namespace

CopyDone CopySelectedFiles(Files& files, const FileBounds& bounds,
                           const std::vector<TrackFile>& selected, const QString& destination,
                           const FileOpHooks& hooks) {
    CopyDone done;
    Progress progress(hooks, QStringLiteral("Copying files"), std::ssize(selected));
    for (const TrackFile& file : selected) {
        const Result<> allowed = CheckTransfer(bounds, file, destination);
        QString why;
        if (allowed &&
            files.copyFileInSteps(file.source(), destination + file.name, progress.turn(), &why))
            ++done.copied;
        else
            progress.fail(done.failures,
                          {file.row,
                           FailureText(QStringLiteral("Error Copying File: "), file, allowed, why),
                           QStringLiteral("Copy Error"), MsgIcon::Critical});
        progress.step();
    }
    return done;
}

MoveDone MoveSelectedFiles(Files& files, Catalog& catalog, const FileBounds& bounds,
                           const std::vector<TrackFile>& selected, const QString& destination,
                           const FileOpHooks& hooks) {
    MoveDone done;
    Progress progress(hooks, QStringLiteral("Moving files"), std::ssize(selected));
    for (const TrackFile& file : selected) {
        const Result<> allowed = CheckTransfer(bounds, file, destination);
        QString why;
        if (allowed &&
            files.moveFileInSteps(file.source(), destination + file.name, progress.turn(), &why)) {
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
                          {file.row,
                           FailureText(QStringLiteral("Error Moving File: "), file, allowed, why),
                           QStringLiteral("Move files in Hard Disc"), MsgIcon::Exclamation});
        }
        progress.step();
    }
    return done;
}

DeleteQuestion AskDeleteFiles(const FileBounds& bounds, const std::vector<TrackFile>& selected) {
    QStringList outside;
    QStringList inside;
    for (const TrackFile& file : selected)
        (bounds.holds(file.source()) ? inside : outside) << ShownPath(file);
    const QStringList listed = outside + inside;
    DeleteQuestion question;
    question.text = QStringLiteral("Do you want to remove selected files from the hard disc?\n\n") +
                    FilesCount(listed.size());
    if (!outside.isEmpty())
        question.text +=
            QStringLiteral(", %1 of them %2").arg(outside.size()).arg(bounds.outsideWords());
    question.text += QStringLiteral(":\n") + NamedLines(listed);
    for (const QString& path : listed.mid(0, kNamedAtMost))
        question.named.insert(path);
    return question;
}

DeleteDone DeleteSelectedFiles(Files& files, const FileBounds& bounds,
                               const std::vector<TrackFile>& selected, const DeleteQuestion& asked,
                               const FileOpHooks& hooks) {
    DeleteDone done;
    Progress progress(hooks, QStringLiteral("Deleting files"), std::ssize(selected));
    QStringList unnamed;
    int firstUnnamed = 0;
    for (const TrackFile& file : selected) {
        const QString path = ShownPath(file);
        if (!bounds.holds(file.source()) && !asked.named.contains(path)) {
            // Outside, and the person never read its name: it stays.
            if (unnamed.isEmpty())
                firstUnnamed = file.row;
            unnamed << path;
            done.keptRows.push_back(file.row);
        } else if (!files.removeFile(path)) {
            done.keptRows.push_back(file.row);
            progress.fail(done.failures,
                          {file.row, file.source() + QStringLiteral(" not was removed "), QString(),
                           MsgIcon::Critical});
        }
        progress.step();
    }
    if (!unnamed.isEmpty())
        progress.fail(
            done.failures,
            {firstUnnamed,
             QStringLiteral("These files lie %1 and were not named in the question, so they "
                            "stay on the disc (%2):\n%3")
                 .arg(bounds.outsideWords(), FilesCount(unnamed.size()), NamedLines(unnamed)),
             kDeleteTitle, MsgIcon::Exclamation});
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
