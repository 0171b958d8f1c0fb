#include "shell/RunMarker.h"

#include "platform/FileReplace.h"

#include <QFile>
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

// Whether the run that left the marker `file` did not end cleanly.
//
// No marker: it ended cleanly, a clean close removes it. A marker that cannot be opened (no
// permission, a folder in its place) tells nothing, and as it cannot be replaced either, taking
// it for a crash would check the catalog at every start. A marker with a process id: a crash
// unless that process is alive (another Tarl on the same folder).
//
// A marker that opens but holds no process id (empty, cut short) was not left by this program's
// writer, which puts the marker whole or not at all (ReplaceFile) and never leaves an empty one:
// it is an older version's, whose replace left it empty on a full disc, or the file was damaged.
// The run that left it did not remove it, so that run crashed or still runs; without its id the
// two cannot be told apart, and the check, which only reads the catalog, costs far less than a
// damaged catalog opened unchecked. So it counts as a crash.
bool PreviousRunUnclean(const QString& file) {
    QFile previous(file);
    if (!previous.open(QIODevice::ReadOnly))
        return false;
    bool number = false;
    const qint64 pid = previous.readAll().trimmed().toLongLong(&number);
    return !number || !ProcessAlive(pid);
}

} // namespace

bool RunMarker::begin(const QString& programFolder) {
    if (!file_.isEmpty())
        return false;
    file_ = programFolder + QStringLiteral("tarl.running");
    const bool unclean = PreviousRunUnclean(file_);
    // Written whole or not at all. A marker that cannot be written (a read-only program folder, a
    // full disc) leaves what was there: without a marker, a crash of this run goes unchecked; a
    // crashed run's marker left in place costs at most one more check.
    static_cast<void>(ReplaceFile(file_, QByteArray::number(static_cast<qint64>(::getpid()))));
    return unclean;
}

void RunMarker::end() {
    if (!file_.isEmpty())
        QFile::remove(file_);
}

} // namespace tarl
