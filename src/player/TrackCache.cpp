#include "player/TrackCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <vector>

namespace tarl {

namespace {

constexpr const char* PartialMark = ".partial";

// The file of `fd` copied from `in` in slices, `stop` looked at between them.
bool CopyFile(int in, int out, const std::atomic_bool* stop) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        if (stop && stop->load())
            return false;
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.data() + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
    }
}

} // namespace

QString TrackCache::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/tarl/queue");
}

TrackCache::TrackCache(QString folder, qint64 limitBytes)
    : folder_(std::move(folder)), limit_(limitBytes) {}

QString TrackCache::copyPath(const QString& identity, const QString& source) const {
    const QByteArray hash =
        QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
    // The suffix tells the player the format; only a short plain one is kept.
    QString suffix = QFileInfo(source).suffix().toLower();
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9]{1,5}$"));
    if (!plain.match(suffix).hasMatch())
        suffix = QStringLiteral("bin");
    return folder_ + u'/' + QString::fromLatin1(hash) + u'.' + suffix;
}

qint64 TrackCache::usedBytes() const {
    qint64 used = 0;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files | QDir::Hidden))
        used += file.size();
    return used;
}

bool TrackCache::makeRoom(qint64 needed, const QSet<QString>& keep) const {
    QFileInfoList files =
        QDir(folder_).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
    qint64 used = 0;
    for (const QFileInfo& file : files)
        used += file.size();
    for (const QFileInfo& file : files) {
        if (used + needed <= limit_)
            return true;
        if (keep.contains(file.absoluteFilePath()) || file.fileName().contains(PartialMark))
            continue;
        if (QFile::remove(file.absoluteFilePath()))
            used -= file.size();
    }
    return used + needed <= limit_;
}

Result<QString> TrackCache::store(const QString& source, const QString& identity,
                                  const QSet<QString>& keep, const std::atomic_bool* stop) {
    const QString target = copyPath(identity, source);
    const QByteArray sourceName = QFile::encodeName(source);
    const int in = ::open(sourceName.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Result<QString>::failed(QStringLiteral("%1 cannot be read.").arg(source));
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return Result<QString>::failed(QStringLiteral("%1 is not a song file.").arg(source));
    }
    // A whole copy is there: it counts as used now, so it is the last to go.
    if (const QFileInfo there(target); there.isFile() && there.size() == st.st_size) {
        ::close(in);
        ::utime(QFile::encodeName(target).constData(), nullptr);
        return target;
    }
    if (!QDir().mkpath(folder_)) {
        ::close(in);
        return Result<QString>::failed(
            QStringLiteral("The song cache %1 cannot be made.").arg(folder_));
    }
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSet<QString> kept = keep;
    kept.insert(target);
    if (!makeRoom(st.st_size, kept)) {
        ::close(in);
        return Result<QString>::failed(
            QStringLiteral("The song cache (%1 MB) is full of songs still queued.")
                .arg(limit_ / (1024 * 1024)));
    }
    const QString partial =
        target + QLatin1String(PartialMark) + u'.' + QString::number(::getpid());
    const QByteArray partialName = QFile::encodeName(partial);
    ::unlink(partialName.constData()); // one a stopped copy of this program left
    const int out =
        ::open(partialName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        ::close(in);
        return Result<QString>::failed(
            QStringLiteral("The song cache %1 cannot be written.").arg(folder_));
    }
    const bool copied = CopyFile(in, out, stop);
    ::close(in);
    const bool closed = ::close(out) == 0;
    if (!copied || !closed ||
        ::rename(partialName.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(partialName.constData());
        return Result<QString>::failed(
            stop && stop->load() ? QStringLiteral("The copy was stopped.")
                                 : QStringLiteral("%1 could not be copied whole.").arg(source));
    }
    return target;
}

} // namespace tarl
