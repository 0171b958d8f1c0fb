#pragma once

#include "platform/Drives.h"

#include <QMap>
#include <QString>

namespace tarl::test {

// Drives set up by the test. The drive root of a path is the longest added root it lies under;
// "/" is not a drive until added.
class FakeDrives : public Drives {
public:
    // `root` is taken with or without its trailing "/".
    void addDrive(const QString& root, DriveType type, const QString& label = {});
    void removeDrive(const QString& root);

    QString driveRoot(const QString& path) const override;
    DriveType driveType(const QString& root) const override;
    QString volumeLabel(const QString& root) const override;

private:
    struct Drive {
        DriveType type = DriveType::Fixed;
        QString label;
    };
    QMap<QString, Drive> drives_; // by root, ending in "/"
};

} // namespace tarl::test
