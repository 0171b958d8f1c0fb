#pragma once

#include "platform/Files.h"

#include <QStringList>

namespace tarl::test {

// Files that touch nothing: every change is refused and the folders asked to go are recorded,
// so routines can be run on paths of no real folder.
class RecordingFiles : public Files {
public:
    FolderListing list(const QString&) const override { return {{}, QStringLiteral("no files")}; }
    bool exists(const QString&) const override { return false; }
    bool isDir(const QString&) const override { return false; }
    bool copyFile(const QString&, const QString&, QString*) override { return false; }
    bool moveFile(const QString&, const QString&, QString*) override { return false; }
    bool removeFile(const QString&, QString*) override { return false; }
    bool makeFolder(const QString&, QString*) override { return false; }
    bool removeFolder(const QString& path, QString* error) override {
        removedFolders << path;
        if (error)
            *error = QStringLiteral("no files");
        return false;
    }

    QStringList removedFolders;
};

} // namespace tarl::test
