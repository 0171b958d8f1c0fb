#pragma once

#include <QBuffer>
#include <QByteArray>
#include <algorithm>

namespace tarl::test {

// A file in memory that counts the bytes read from it, and the largest single read asked for, so
// a test can bound what a reader reads.
class CountingBuffer : public QBuffer {
public:
    explicit CountingBuffer(QByteArray bytes) : bytes_(std::move(bytes)) {
        setBuffer(&bytes_);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 bytesRead = 0;
    qint64 largestRead = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        largestRead = std::max(largestRead, maxSize);
        const qint64 n = QBuffer::readData(data, maxSize);
        bytesRead += std::max<qint64>(n, 0);
        return n;
    }

private:
    QByteArray bytes_;
};

} // namespace tarl::test
