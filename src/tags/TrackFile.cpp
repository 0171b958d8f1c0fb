#include "tags/TrackFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

Result<std::unique_ptr<QFile>> OpenTrackFile(const QString& path) {
    using Opened = Result<std::unique_ptr<QFile>>;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        return Opened::failed(error == ENOENT ? QStringLiteral("no such file")
                                              : QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Opened::failed(QStringLiteral("not a regular file"));
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Opened::failed(file->errorString());
    }
    return Opened(std::move(file));
}

} // namespace tarl
