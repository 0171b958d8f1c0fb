#pragma once

#include "text/Result.h"

#include <QIODevice>
#include <QString>
#include <memory>

namespace tarl {

// One sound file opened for reading its tags: a random-access device over a plain descriptor that
// reads with pread at the device's position, nothing buffered and nothing read ahead. An import
// opens every file of a collection, so the open asks one question about the file (fstat) and no
// more. Opened without waiting, so a FIFO cannot block; only a regular file opens.
class TagFile : public QIODevice {
public:
    ~TagFile() override;
    TagFile(const TagFile&) = delete;
    TagFile& operator=(const TagFile&) = delete;

    // The file at `path`, open; failed with a short reason ("no such file", "not a regular
    // file", the system's words) otherwise.
    static Result<std::unique_ptr<TagFile>> open(const QString& path);

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    TagFile(int fd, qint64 size);

    int fd_;
    qint64 size_;
};

} // namespace tarl
