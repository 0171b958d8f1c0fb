#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/mount.h>
#include <unistd.h>

namespace tarl::test {

// A small tmpfs mounted on a folder for the length of a test, when the test may mount (root);
// mounted() tells the test whether to go on or skip.
class TmpfsMount {
public:
    TmpfsMount(const QString& path, const char* size) : path_(QFile::encodeName(path)) {
        const QByteArray options = QByteArray("size=") + size;
        mounted_ = ::geteuid() == 0 &&
                   ::mount("tmpfs", path_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TmpfsMount() {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool mounted() const { return mounted_; }

private:
    QByteArray path_;
    bool mounted_ = false;
};

} // namespace tarl::test
