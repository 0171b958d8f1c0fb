#include "platform/FileReplace.h"

#include "platform/FileDescriptor.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

namespace {

const QString PartialMark = QStringLiteral(".partial.");

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        left -= written;
    }
    return true;
}

// Removes the new files of earlier replacements of `name` in `folder` that never took its name:
// their program is gone (it was killed), or they are older than any write takes.
void RemoveLeftovers(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QRegularExpression pattern(QStringLiteral("^") + QRegularExpression::escape(name) +
                                     QRegularExpression::escape(PartialMark) +
                                     QStringLiteral("(\\d+)\\.\\d+$"));
    const QDateTime minuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QStringList names =
        dir.entryList({name + PartialMark + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& leftover : names) {
        const QRegularExpressionMatch match = pattern.match(leftover);
        if (!match.hasMatch())
            continue;
        const pid_t pid = match.captured(1).toInt();
        const bool gone = pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
        if (gone || QFileInfo(dir.filePath(leftover)).lastModified().toUTC() < minuteAgo)
            QFile::remove(dir.filePath(leftover));
    }
}

// Makes the new file beside `target` under a name of its own and gives its descriptor (-1 and
// errno on failure). O_EXCL refuses a name already taken, a link planted under it included, and
// O_NOFOLLOW says so for a link; a name left by an earlier program of the same process id moves
// the number on.
int CreatePartial(const QString& target, QByteArray* name) {
    static std::atomic<int> serial{0};
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        *name = QFile::encodeName(target + PartialMark + QString::number(::getpid()) + u'.' +
                                  QString::number(++serial));
        const int fd =
            ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

QString WriteFailureText(const QString& file, int error) {
    const QString shown = QDir::toNativeSeparators(file);
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("The disc is full: %1 could not be written and was left as it was.")
            .arg(shown);
    return QStringLiteral("Cannot write %1: %2").arg(shown, qt_error_string(error));
}

FileStamp StampOf(const struct stat& st) {
    return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
            static_cast<qint64>(st.st_size), static_cast<qint64>(st.st_mtim.tv_sec),
            static_cast<qint64>(st.st_mtim.tv_nsec)};
}

Result<> ReplaceFile(const QString& file, const QByteArray& bytes) {
    const Result<FileStamp> replaced = ReplaceFileStamped(file, bytes);
    if (!replaced)
        return Result<>::failed(replaced.error);
    return {};
}

Result<FileStamp> ReplaceFileStamped(const QString& file, const QByteArray& bytes) {
    // The name itself is replaced: a link in its place is not followed, so a write never lands
    // in a file the link leads to.
    const QString target = QFileInfo(file).absoluteFilePath();
    const QString folder = QFileInfo(target).absolutePath();
    const QByteArray targetName = QFile::encodeName(target);
    RemoveLeftovers(folder, QFileInfo(target).fileName());

    QByteArray partialName;
    Fd out(CreatePartial(target, &partialName));
    if (out.get() < 0)
        return Result<FileStamp>::failed(WriteFailureText(file, errno));
    const auto fail = [&](int error) {
        ::unlink(partialName.constData());
        return Result<FileStamp>::failed(WriteFailureText(file, error));
    };
    // The old file's permissions, when it is a file: a link's target is not the file replaced.
    struct stat old {};
    if (::lstat(targetName.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(out.get(), old.st_mode & 07777);
    // The stamp is taken once the bytes are on the disc; the rename keeps it.
    struct stat written {};
    if (!WriteAll(out.get(), bytes) || ::fsync(out.get()) != 0 || ::fstat(out.get(), &written) != 0)
        return fail(errno);
    if (const int closed = out.close())
        return fail(closed);
    if (::rename(partialName.constData(), targetName.constData()) != 0)
        return fail(errno);
    // The new name itself reaches the disc with the folder; without it a power cut could bring
    // the old file back, which is still whole, so a failure here is not reported.
    const Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return StampOf(written);
}

} // namespace tarl
