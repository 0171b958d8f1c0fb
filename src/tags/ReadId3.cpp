#include "tags/ReadId3.h"

#include "tags/Id3v1Trailer.h"
#include "tags/Id3v2Frames.h"
#include "tags/Id3v2Header.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

TagFields ReadId3(QIODevice& device) {
    TagFields fields;
    if (!device.isOpen() || device.isSequential())
        return fields;
    fields.fileLength = device.size();

    std::optional<Id3v2Header> header;
    if (device.seek(0))
        header = Id3v2Header::Parse(device.read(Id3v2Header::kBytes));
    if (header && header->size > fields.fileLength - Id3v2Header::kBytes)
        header.reset();

    if (fields.fileLength >= kId3v1Bytes && device.seek(fields.fileLength - kId3v1Bytes))
        ReadId3v1(device.read(kId3v1Bytes), fields);

    if (header) {
        ReadId3v2Frames(device, Id3v2Header::kBytes, Id3v2Header::kBytes + qint64(header->size),
                        header->version, header->flags, fields);
    }
    return fields;
}

Result<TagFields> ReadId3(const QString& path) {
    // One open and one question about the file, as an import asks for every track. Opened
    // without waiting, so a FIFO cannot block; only a regular file holds a track.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        return Result<TagFields>::failed(error == ENOENT
                                             ? QStringLiteral("no such file")
                                             : QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result<TagFields>::failed(QStringLiteral("not a regular file"));
    }
    QFile file;
    // Unbuffered: the tag reader reads in its own window, and no read-ahead pulls in audio.
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Result<TagFields>::failed(file.errorString());
    }
    // The fields are moved into the result, never copied.
    return ReadId3(file);
}

} // namespace tarl
