#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace tarl {

// One entry of a folder. Links are followed for isDir and size; isSymlink tells a link apart so
// walks can avoid loops.
struct FileEntry {
    QString name;
    bool isDir = false;
    bool isHidden = false; // a name starting with "."
    bool isSymlink = false;
    qint64 size = 0; // bytes; 0 for folders and broken links

    bool operator==(const FileEntry&) const = default;
};

// The entries of a folder ("." and ".." left out), sorted by name in the user's language
// (NameOrder: without regard to case, numbers by value); or why the folder could not be read.
struct FolderListing {
    QList<FileEntry> entries;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Files and folders on the local file systems. Every change that fails returns false with a reason
// in *error (when given) and leaves the files as they were.
class Files {
public:
    virtual ~Files() = default;

    virtual FolderListing list(const QString& folder) const = 0;
    // The same listing, calling `step` every few hundred entries and between the steps of the
    // sort, so a walk can keep the window responsive inside a folder of many thousand files.
    virtual FolderListing listInSteps(const QString& folder,
                                      const std::function<void()>& step) const {
        Q_UNUSED(step);
        return list(folder);
    }
    // The same listing without the files' sizes (0 for every entry): a walk that only needs
    // names and kinds is spared a question per file where the folder itself tells the kind.
    virtual FolderListing listKindsInSteps(const QString& folder,
                                           const std::function<void()>& step) const {
        return listInSteps(folder, step);
    }
    virtual bool exists(const QString& path) const = 0;
    virtual bool isDir(const QString& path) const = 0;

    // Copies a file; fails when `to` exists.
    virtual bool copyFile(const QString& from, const QString& to, QString* error = nullptr) = 0;
    // Moves a file or folder; fails when `to` exists. A file moved to another file system is
    // copied, synced, then deleted at its source.
    virtual bool moveFile(const QString& from, const QString& to, QString* error = nullptr) = 0;
    // The same two, calling `step` between chunks of the data copied (a megabyte or so), so a
    // window stays responsive while a big file goes to another disc.
    virtual bool copyFileInSteps(const QString& from, const QString& to,
                                 const std::function<void()>& step, QString* error = nullptr) {
        Q_UNUSED(step);
        return copyFile(from, to, error);
    }
    virtual bool moveFileInSteps(const QString& from, const QString& to,
                                 const std::function<void()>& step, QString* error = nullptr) {
        Q_UNUSED(step);
        return moveFile(from, to, error);
    }
    // Deletes a file (not a folder).
    virtual bool removeFile(const QString& path, QString* error = nullptr) = 0;
    // Makes one folder; its parent must exist, and the folder must not.
    virtual bool makeFolder(const QString& path, QString* error = nullptr) = 0;
    // Removes an empty folder.
    virtual bool removeFolder(const QString& path, QString* error = nullptr) = 0;
};

} // namespace tarl
