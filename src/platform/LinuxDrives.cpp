#include "platform/LinuxDrives.h"

#include "platform/VolumeLabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

namespace {

QByteArray ReadSmallFile(const QString& path) {
    QFile file(path);
    // /proc files report size 0: read to the end instead of by size.
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString CurrentUserName() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// Absolute and cleaned, ending in "/"; "" for a relative or empty path.
QString FolderForm(const QString& path) {
    if (!path.startsWith('/'))
        return {};
    const QString clean = QDir::cleanPath(path);
    return clean.endsWith('/') ? clean : clean + '/';
}

bool IsCdDevice(const QString& device) {
    static const QStringList prefixes = {"/dev/sr", "/dev/scd", "/dev/cdrom", "/dev/dvd"};
    for (const QString& prefix : prefixes) {
        if (device.startsWith(prefix))
            return true;
    }
    return false;
}

bool IsCdEntry(const MountEntry& entry) {
    // fstab may offer several types for one drive: "udf,iso9660".
    for (const QString& type : entry.fsType.split(',')) {
        if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
            return true;
    }
    return IsCdDevice(entry.device);
}

bool IsNetworkFileSystem(const QString& fsType) {
    // Network file systems, and the FUSE ones that reach other machines.
    static const QStringList types =
        QStringLiteral("nfs nfs4 cifs smb3 smbfs ncpfs afs 9p coda ceph glusterfs lustre davfs "
                       "sshfs fuse.sshfs fuse.ceph fuse.glusterfs fuse.s3fs fuse.rclone "
                       "fuse.curlftpfs fuse.gvfsd-fuse fuse.davfs fuse.smbnetfs")
            .split(' ');
    return types.contains(fsType);
}

bool IsRamFileSystem(const QString& fsType) {
    return fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs");
}

} // namespace

LinuxDrives::LinuxDrives() = default;

LinuxDrives::LinuxDrives(Sources sources) : fixed_(std::move(sources)) {}

LinuxDrives::~LinuxDrives() {
    if (mountInfoFd_ >= 0)
        ::close(mountInfoFd_);
}

namespace {
qint64 ModificationTime(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
} // namespace

// The parsed table, read again only when it may have changed: the kernel flags an open
// mountinfo file (POLLPRI) when anything is mounted or unmounted, and fstab is looked at by its
// modification time. Asking for the roots of thousands of paths then costs a poll each.
std::shared_ptr<const LinuxDrives::Table> LinuxDrives::table() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (fixed_) {
        if (!cache_)
            cache_ = std::make_shared<const Table>(tableOf(*fixed_));
        return cache_;
    }
    bool stale = !cache_;
    if (mountInfoFd_ < 0) {
        mountInfoFd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        stale = true;
    }
    if (mountInfoFd_ >= 0) {
        pollfd watch{mountInfoFd_, POLLPRI, 0};
        if (::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)))
            stale = true;
    } else {
        stale = true; // cannot watch: read every time
    }
    const qint64 fstabTime = ModificationTime("/etc/fstab");
    if (fstabTime != fstabTime_)
        stale = true;
    if (!stale)
        return cache_;
    fstabTime_ = fstabTime;
    if (mountInfoFd_ >= 0) {
        // Reading the watched file to its end clears its change flag.
        QByteArray text;
        char buffer[16384];
        ::lseek(mountInfoFd_, 0, SEEK_SET);
        for (ssize_t n; (n = ::read(mountInfoFd_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        Sources live = sources();
        live.mountInfo = text;
        cache_ = std::make_shared<const Table>(tableOf(live));
        return cache_;
    }
    cache_ = std::make_shared<const Table>(tableOf(sources()));
    return cache_;
}

LinuxDrives::Sources LinuxDrives::sources() const {
    if (fixed_)
        return *fixed_;
    Sources live;
    live.mountInfo = ReadSmallFile(QStringLiteral("/proc/self/mountinfo"));
    live.fstab = ReadSmallFile(QStringLiteral("/etc/fstab"));
    live.userName = CurrentUserName();
    return live;
}

LinuxDrives::Table LinuxDrives::tableOf(const Sources& sources) {
    Table table;
    table.mounts = ParseMountInfo(sources.mountInfo);
    for (const MountEntry& entry : ParseFstab(sources.fstab)) {
        if (IsCdEntry(entry))
            table.cdDrives.append(entry);
    }
    if (!sources.userName.isEmpty() && !sources.userName.contains('/')) {
        table.mediaFolders = {"/media/" + sources.userName + "/",
                              "/run/media/" + sources.userName + "/"};
    }
    for (const QList<MountEntry>* entries : {&table.mounts, &table.cdDrives}) {
        for (const MountEntry& entry : *entries) {
            const QString root = FolderForm(entry.mountPoint);
            if (!root.isEmpty())
                table.roots.append(root);
        }
    }
    return table;
}

QString LinuxDrives::rootIn(const Table& table, const QString& path) {
    const QString folder = FolderForm(path);
    if (folder.isEmpty())
        return {};
    // "/" is always mounted, even when mountinfo cannot be read.
    QString best = QStringLiteral("/");
    const auto consider = [&](const QString& root) {
        if (root.size() > best.size() && folder.startsWith(root))
            best = root;
    };
    for (const QString& root : table.roots)
        consider(root);
    for (const QString& media : table.mediaFolders) {
        if (!folder.startsWith(media) || folder.size() == media.size())
            continue;
        consider(FolderForm(folder.left(folder.indexOf('/', media.size()) + 1)));
    }
    return best;
}

std::optional<MountEntry> LinuxDrives::mountOn(const Table& table, const QString& root) {
    // The last mount on a folder hides the earlier ones.
    for (auto it = table.mounts.crbegin(); it != table.mounts.crend(); ++it) {
        if (FolderForm(it->mountPoint) == root)
            return *it;
    }
    return std::nullopt;
}

bool LinuxDrives::isMediaFolder(const Table& table, const QString& root) {
    for (const QString& media : table.mediaFolders) {
        if (root.startsWith(media) && root.size() > media.size() &&
            root.indexOf('/', media.size()) == root.size() - 1)
            return true;
    }
    return false;
}

QString LinuxDrives::driveRoot(const QString& path) const {
    return rootIn(*table(), path);
}

DriveType LinuxDrives::driveType(const QString& root) const {
    const std::shared_ptr<const Table> held = this->table();
    const Table& table = *held;
    const QString folder = FolderForm(root);
    if (folder.isEmpty() || rootIn(table, folder) != folder)
        return DriveType::NoRootDir;

    if (const auto mount = mountOn(table, folder)) {
        if (IsCdEntry(*mount))
            return DriveType::CdRom;
        if (IsNetworkFileSystem(mount->fsType))
            return DriveType::Remote;
        if (IsRamFileSystem(mount->fsType))
            return DriveType::RamDisk;
        if (isMediaFolder(table, folder))
            return DriveType::Removable;
        return DriveType::Fixed;
    }
    // A CD drive without a disc is still a CD drive.
    for (const MountEntry& drive : table.cdDrives) {
        if (FolderForm(drive.mountPoint) == folder)
            return DriveType::CdRom;
    }
    const bool exists =
        fixed_ && fixed_->folderExists ? fixed_->folderExists(folder) : QFileInfo(folder).isDir();
    if (exists && isMediaFolder(table, folder))
        return DriveType::Removable;
    return DriveType::NoRootDir;
}

QString LinuxDrives::volumeLabel(const QString& root) const {
    const auto mount = mountOn(*table(), FolderForm(root));
    if (!mount || !mount->device.startsWith('/'))
        return {};
    const QString label = ReadVolumeLabel(mount->device);
    const QString byLabel = fixed_ ? fixed_->byLabelFolder : Sources().byLabelFolder;
    if (!label.isEmpty() || byLabel.isEmpty())
        return label;
    // Block devices other than CD drives are often closed to the user; udev's links are not.
    return ReadVolumeLabelFromLinks(mount->device, byLabel);
}

} // namespace tarl
