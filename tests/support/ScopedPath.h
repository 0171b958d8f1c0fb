#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tarl::test {

// Sets PATH for its lifetime and then puts back what was there, so a test decides which programs
// (an "mpv" above all) the code under test finds, whatever the machine has installed.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path)
        : wasSet_(qEnvironmentVariableIsSet("PATH")), saved_(qgetenv("PATH")) {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~ScopedPath() {
        if (wasSet_)
            qputenv("PATH", saved_);
        else
            qunsetenv("PATH");
    }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    bool wasSet_;
    QByteArray saved_;
};

} // namespace tarl::test
