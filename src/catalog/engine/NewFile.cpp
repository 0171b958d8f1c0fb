#include "catalog/engine/NewFile.h"

#include "catalog/engine/EngineFile.h"
#include "platform/FileDescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

namespace {

const QString PartialMark = QStringLiteral(".partial.");

// A host name as one part of a file name: no dots or separators.
QString HostPart() {
    QString host = QSysInfo::machineHostName();
    host.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return host.isEmpty() ? QStringLiteral("host") : host;
}

bool ProgramIsGone(qint64 pid) {
    return pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
           errno == ESRCH;
}

// Fills `buffer` from `fd` as far as the file goes; the bytes read, or -1.
ssize_t ReadFull(int fd, char* buffer, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

} // namespace

QString PartialName(const QString& destination) {
    const quint64 random = QRandomGenerator::system()->generate64();
    return destination + PartialMark + HostPart() + u'.' + QString::number(::getpid()) + u'.' +
           QString::number(random, 16);
}

Result<> CreateNewFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return Result<>::failed(qt_error_string(errno));
    ::close(fd);
    return {};
}

void RemoveLeftoverPartials(const QString& destination) {
    const QFileInfo info(destination);
    const QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + PartialMark + HostPart() + u'.';
    const QRegularExpression pattern(QStringLiteral("^") + QRegularExpression::escape(prefix) +
                                     QStringLiteral("(\\d+)\\.[0-9a-f]+$"));
    const QStringList names =
        folder.entryList({prefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch() || !ProgramIsGone(match.captured(1).toLongLong()))
            continue;
        const QString leftover = folder.filePath(name);
        QFile::remove(leftover);
        for (const QString& companion : CompanionFiles(leftover))
            QFile::remove(companion);
    }
}

bool IsSameFile(const QString& a, const QString& b) {
    struct stat x {};
    struct stat y {};
    return ::stat(QFile::encodeName(a).constData(), &x) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

bool SameBytes(const QString& a, const QString& b) {
    const Fd x(::open(QFile::encodeName(a).constData(), O_RDONLY | O_CLOEXEC));
    const Fd y(::open(QFile::encodeName(b).constData(), O_RDONLY | O_CLOEXEC));
    struct stat sx {};
    struct stat sy {};
    if (x.get() < 0 || y.get() < 0 || ::fstat(x.get(), &sx) != 0 || ::fstat(y.get(), &sy) != 0 ||
        sx.st_size != sy.st_size)
        return false;
    constexpr size_t kChunk = 1 << 16;
    QByteArray left(kChunk, Qt::Uninitialized);
    QByteArray right(kChunk, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ReadFull(x.get(), left.data(), kChunk);
        const ssize_t m = ReadFull(y.get(), right.data(), kChunk);
        if (n < 0 || n != m)
            return false;
        if (n == 0)
            return true;
        if (std::memcmp(left.constData(), right.constData(), static_cast<size_t>(n)) != 0)
            return false;
    }
}

} // namespace tarl
