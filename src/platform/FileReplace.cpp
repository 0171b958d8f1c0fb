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
    static std::atomic<int> serial{0};
    const QFileInfo given(file);
    const QFileInfo target(given.isSymLink() ? given.symLinkTarget() : given.absoluteFilePath());
    const QString folder = target.absolutePath();
    RemoveLeftovers(folder, target.fileName());

    const QString partial = target.absoluteFilePath() + PartialMark + QString::number(::getpid()) +
                            u'.' + QString::number(++serial);
    const QByteArray partialName = QFile::encodeName(partial);
    const auto fail = [&](int error) {
        ::unlink(partialName.constData());
        return Result<FileStamp>::failed(WriteFailureText(file, error));
    };
    Fd out(::open(partialName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return Result<FileStamp>::failed(WriteFailureText(file, errno));
    struct stat old {};
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &old) == 0)
        ::fchmod(out.get(), old.st_mode & 07777);
    // The stamp is taken once the bytes are on the disc; the rename keeps it.
    struct stat written {};
    if (!WriteAll(out.get(), bytes) || ::fsync(out.get()) != 0 || ::fstat(out.get(), &written) != 0)
        return fail(errno);
    if (const int closed = out.close())
        return fail(closed);
    if (::rename(partialName.constData(), QFile::encodeName(target.absoluteFilePath()).constData()))
        return fail(errno);
    // The new name itself reaches the disc with the folder; without it a power cut could bring
    // the old file back, which is still whole, so a failure here is not reported.
    const Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return StampOf(written);
}

} // namespace tarl
