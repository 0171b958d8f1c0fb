#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace tarl::test {

// For its lifetime, catalogs open as on a network share: through the engine's "unix-dotfile"
// VFS, which locks with a lock folder beside the file and has no shared memory, so SQLite cannot
// keep a write-ahead log there. Programs started meanwhile inherit it.
class NetworkShare {
public:
    NetworkShare() : saved_(qgetenv(kVariable)) { qputenv(kVariable, "unix-dotfile"); }
    ~NetworkShare() {
        if (saved_.isEmpty())
            qunsetenv(kVariable);
        else
            qputenv(kVariable, saved_);
    }
    NetworkShare(const NetworkShare&) = delete;
    NetworkShare& operator=(const NetworkShare&) = delete;

private:
    static constexpr const char* kVariable = "TARL_CATALOG_VFS";
    QByteArray saved_;
};

} // namespace tarl::test
