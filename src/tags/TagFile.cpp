#include "tags/TagFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

Result<std::unique_ptr<TagFile>> TagFile::open(const QString& path) {
    using Opened = Result<std::unique_ptr<TagFile>>;
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
    std::unique_ptr<TagFile> file(new TagFile(fd, static_cast<qint64>(st.st_size)));
    file->QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return Opened(std::move(file));
}

TagFile::TagFile(int fd, qint64 size) : fd_(fd), size_(size) {}

TagFile::~TagFile() {
    close();
}

void TagFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    QIODevice::close();
}

qint64 TagFile::readData(char* data, qint64 maxSize) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::pread(fd_, data, static_cast<size_t>(maxSize), pos());
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return -1;
    }
}

} // namespace tarl
