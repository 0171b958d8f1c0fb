#include "support/FakeDrives.h"

#include <QDir>

namespace tarl::test {

namespace {

QString FolderForm(const QString& path) {
    if (!path.startsWith('/'))
        return {};
    const QString clean = QDir::cleanPath(path);
    return clean.endsWith('/') ? clean : clean + '/';
}

} // namespace

void FakeDrives::addDrive(const QString& root, DriveType type, const QString& label) {
    drives_.insert(FolderForm(root), {type, label});
}

void FakeDrives::removeDrive(const QString& root) {
    drives_.remove(FolderForm(root));
}

QString FakeDrives::driveRoot(const QString& path) const {
    const QString folder = FolderForm(path);
    if (folder.isEmpty())
        return {};
    QString best;
    for (auto it = drives_.cbegin(); it != drives_.cend(); ++it) {
        if (folder.startsWith(it.key()) && it.key().size() > best.size())
            best = it.key();
    }
    return best;
}

DriveType FakeDrives::driveType(const QString& root) const {
    const auto it = drives_.constFind(FolderForm(root));
    return it == drives_.cend() ? DriveType::NoRootDir : it->type;
}

QString FakeDrives::volumeLabel(const QString& root) const {
    return drives_.value(FolderForm(root)).label;
}

} // namespace tarl::test
