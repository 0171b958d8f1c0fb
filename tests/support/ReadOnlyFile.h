#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarl::test {

// Sets or clears the file's immutable attribute, which even root cannot write through.
inline bool SetImmutable(const QString& path, bool immutable) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

// Makes the file read-only for this user: its mode, and for root the immutable attribute where
// the file system and the process's capabilities allow it. False when it stays writable.
inline bool MakeReadOnly(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFile(path).open(QIODevice::ReadWrite))
        SetImmutable(path, true);
    return !QFile(path).open(QIODevice::ReadWrite);
}

} // namespace tarl::test
