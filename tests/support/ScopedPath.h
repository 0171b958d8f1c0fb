#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tarl::test {

// Sets PATH for its lifetime, then puts the previous one back: the test decides which programs
// (an "mpv" above all) the code under test finds, whatever the machine has installed.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : saved_(qgetenv("PATH")) {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~ScopedPath() { qputenv("PATH", saved_); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    QByteArray saved_;
};

} // namespace tarl::test
