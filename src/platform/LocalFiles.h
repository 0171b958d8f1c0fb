#pragma once

#include "platform/Files.h"

namespace tarl {

// Files on this machine's file systems, through the POSIX calls (renameat2 with RENAME_NOREPLACE,
// so no move or copy ever replaces a file, even one created at the same moment by another program).
// A move to another file system copies, syncs, then deletes the source; a link moved that way
// arrives as a file holding its target's data, and the link goes, the file it led to stays.
class LocalFiles : public Files {
public:
    FolderListing list(const QString& folder) const override;
    FolderListing listInSteps(const QString& folder,
                              const std::function<void()>& step) const override;
    FolderListing listKindsInSteps(const QString& folder,
                                   const std::function<void()>& step) const override;
    // True when the name is taken, also by a broken link.
    bool exists(const QString& path) const override;
    bool isDir(const QString& path) const override;

    bool copyFile(const QString& from, const QString& to, QString* error = nullptr) override;
    bool moveFile(const QString& from, const QString& to, QString* error = nullptr) override;
    bool copyFileInSteps(const QString& from, const QString& to, const std::function<void()>& step,
                         QString* error = nullptr) override;
    bool moveFileInSteps(const QString& from, const QString& to, const std::function<void()>& step,
                         QString* error = nullptr) override;
    bool removeFile(const QString& path, QString* error = nullptr) override;
    bool makeFolder(const QString& path, QString* error = nullptr) override;
    bool removeFolder(const QString& path, QString* error = nullptr) override;
};

// Where a path really is, for the rules that keep file operations inside the collection: a
// folder read as "/music/../home/" or reached through a linked folder is somewhere else than
// its text says.

// The folder as the system reaches it, ending in "/": "." and ".." parts gone and every linked
// folder followed. A folder that is not there (a disc out of its drive) is only cleaned.
QString ResolvedFolder(const QString& folder);

// The file's path with its folder resolved; the file's own name is kept, so a link stays the
// link (deleting it deletes the link, not what it leads to). "" for a path that is not absolute.
QString ResolvedFilePath(const QString& path);

// Whether `path` is `folder` or lies under it; both resolved, `folder` ending in "/". An empty
// folder holds nothing, and an empty path lies nowhere.
bool LiesInFolder(const QString& path, const QString& folder);

} // namespace tarl
