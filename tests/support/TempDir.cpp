#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <mutex>
#include <signal.h>
#include <unistd.h>

namespace tarl::test {

namespace {

// The folders this test program made; a process still running at its end whose arguments name
// one of them was started by a test and left behind.
std::mutex foldersLock;
QStringList& FoldersMade() {
    static QStringList folders;
    return folders;
}

// At the end of a test program no process a test started may still run: a player or a helper
// left playing holds the test's output open and outlives the run. Each one found is named as a
// failure and ended.
class NoProcessLeftBehind : public ::testing::Environment {
public:
    void TearDown() override {
        // A process a test has just killed may take a moment to go: only one still there after
        // a few seconds was left behind.
        QStringList left = leftRunning();
        for (QDeadlineTimer deadline(3000); !left.isEmpty() && !deadline.hasExpired();) {
            QThread::msleep(20);
            left = leftRunning();
        }
        for (const QString& pid : left) {
            ADD_FAILURE() << "process " << pid.toStdString()
                          << " was left running: " << ArgumentsOf(pid).toStdString();
            ::kill(pid_t(pid.toLongLong()), SIGKILL);
        }
    }

private:
    // The processes a test started that still run: children of this program, and any process
    // whose arguments name a folder a test made.
    static QStringList leftRunning() {
        const QString self = QString::number(::getpid());
        QStringList folders;
        {
            const std::lock_guard lock(foldersLock);
            folders = FoldersMade();
        }
        QStringList left;
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            pid.toLongLong(&number);
            if (!number || pid == self || ParentOf(pid).isEmpty()) // gone, or a zombie
                continue;
            const QString arguments = ArgumentsOf(pid);
            bool started = ParentOf(pid) == self;
            for (const QString& folder : folders)
                started = started || arguments.contains(folder);
            if (started)
                left << pid;
        }
        return left;
    }
    static QString ArgumentsOf(const QString& pid) {
        return QString::fromLocal8Bit(Read("/proc/" + pid + "/cmdline"))
            .replace(QChar(u'\0'), u' ');
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString ParentOf(const QString& pid) {
        const QByteArray status = Read("/proc/" + pid + "/stat");
        const QList<QByteArray> fields = status.mid(status.lastIndexOf(')') + 2).split(' ');
        // State, then the parent's pid; a zombie child is no process left running.
        if (fields.size() < 2 || fields[0] == "Z" || fields[0] == "X")
            return {};
        return QString::fromLatin1(fields[1]);
    }
};

[[maybe_unused]] ::testing::Environment* const noProcessLeftBehind =
    ::testing::AddGlobalTestEnvironment(new NoProcessLeftBehind);

} // namespace

TempDir::TempDir() : dir_(QDir::tempPath() + "/tarl-test-XXXXXX") {
    const std::lock_guard lock(foldersLock);
    FoldersMade() << dir_.path();
}

TempDir::~TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info && info->result() && info->result()->Failed()) {
        dir_.setAutoRemove(false);
        std::fprintf(stderr, "test files kept in %s\n", qPrintable(dir_.path()));
    }
}

QString TempDir::file(const QString& relative) const {
    return dir_.path() + "/" + relative;
}

QString TempDir::write(const QString& relative, const QByteArray& bytes) const {
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ADD_FAILURE() << "cannot write " << full.toStdString();
    f.write(bytes);
    return full;
}

QByteArray TempDir::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace tarl::test
