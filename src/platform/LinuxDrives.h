#pragma once

#include "platform/Drives.h"
#include "platform/MountTable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tarl {

// Drives of this Linux machine: the mounts of /proc/self/mountinfo, the CD drives of /etc/fstab
// (which keep their root while no disc is in) and the folders where desktops mount removable
// media by label (/media/<user>/<label>/, /run/media/<user>/<label>/), which keep theirs while the
// medium is out, so a catalogued CD's paths still have a drive.
class LinuxDrives : public Drives {
public:
    // What the rules read. The live machine fills it from the system on every call, so media
    // inserted or removed are seen at once; tests give fixed texts.
    struct Sources {
        QByteArray mountInfo;
        QByteArray fstab;
        QString userName;
        QString byLabelFolder = QStringLiteral("/dev/disk/by-label");
        // Whether a folder exists; null asks the file system.
        std::function<bool(const QString&)> folderExists;
    };

    // The live machine.
    LinuxDrives();
    // Fixed sources, for tests.
    explicit LinuxDrives(Sources sources);
    ~LinuxDrives() override;
    LinuxDrives(const LinuxDrives&) = delete;
    LinuxDrives& operator=(const LinuxDrives&) = delete;

    QString driveRoot(const QString& path) const override;
    DriveType driveType(const QString& root) const override;
    QString volumeLabel(const QString& root) const override;

private:
    struct Table {
        QList<MountEntry> mounts;
        QList<MountEntry> cdDrives; // fstab CD drives
        QStringList mediaFolders;   // "/media/<user>/", "/run/media/<user>/"
        // The folder form of every mount point and CD drive, made once: a drive's root is
        // asked for every folder of an import.
        QStringList roots;
    };

    Sources sources() const;
    // Shared: another thread may read the table anew meanwhile, and the one handed out stays.
    std::shared_ptr<const Table> table() const;
    static Table tableOf(const Sources& sources);
    static QString rootIn(const Table& table, const QString& path);
    static std::optional<MountEntry> mountOn(const Table& table, const QString& root);
    static bool isMediaFolder(const Table& table, const QString& root);

    std::optional<Sources> fixed_;
    // The scan's worker and the window ask at the same time.
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const Table> cache_;
    mutable int mountInfoFd_ = -1;
    mutable qint64 fstabTime_ = -1;
};

} // namespace tarl
