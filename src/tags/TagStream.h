#pragma once

#include <QByteArray>
#include <QIODevice>

namespace tarl {

// Reads the bytes of one ID3v2 tag from a random-access device, front to back, through a small
// window: memory stays bounded however large the tag claims to be, and nothing past the tag's end
// is read. With unsynchronisation every 0x00 that follows a 0xFF is dropped on the way.
class TagStream {
public:
    TagStream(QIODevice& device, qint64 begin, qint64 end, bool unsynchronised);

    // Stored bytes not yet consumed: an upper bound of what read() can still give.
    qint64 rawRemaining() const { return buffered() + (end_ - next_); }

    // The next `count` bytes in *out; false when the tag or the device ends first.
    bool read(qint64 count, QByteArray* out);
    bool skip(qint64 count);

    // The stored bytes `ahead` bytes past the current position, without consuming anything.
    // Only for a stream without unsynchronisation, where stored and read bytes are the same.
    bool peek(qint64 ahead, qint64 count, QByteArray* out);

private:
    qint64 buffered() const { return window_.size() - at_; }
    bool refill();
    bool readUnsynchronised(qint64 count, QByteArray* out);

    QIODevice& device_;
    qint64 next_; // device offset of the first byte not yet in the window
    qint64 end_;
    bool unsync_;
    bool afterFF_ = false;
    QByteArray window_;
    qsizetype at_ = 0;
};

} // namespace tarl
