#include "shell/RunMarker.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace tarl {

namespace {

bool ProcessAlive(qint64 pid) {
    if (pid <= 1)
        return false;
    if (pid == ::getpid())
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

bool RunMarker::begin(const QString& programFolder) {
    if (!file_.isEmpty())
        return false;
    file_ = programFolder + QStringLiteral("tarl.running");
    QFile previous(file_);
    bool unclean = false;
    if (previous.open(QIODevice::ReadOnly)) {
        bool number = false;
        const qint64 pid = previous.readAll().trimmed().toLongLong(&number);
        unclean = !number || !ProcessAlive(pid);
    }
    // Written whole or not at all. A marker that cannot be written (a read-only program folder)
    // only costs the check after a crash.
    QSaveFile marker(file_);
    if (marker.open(QIODevice::WriteOnly)) {
        marker.write(QByteArray::number(static_cast<qint64>(::getpid())));
        marker.commit();
    }
    return unclean;
}

void RunMarker::end() {
    if (!file_.isEmpty())
        QFile::remove(file_);
}

} // namespace tarl
