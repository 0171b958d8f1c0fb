#include "tags/TagStream.h"

#include <algorithm>
#include <cstring>

namespace tarl {

namespace {

// Large enough for a whole ordinary tag in one read, small enough to stay cheap per file.
constexpr qint64 kWindowBytes = 4 * 1024;

} // namespace

TagStream::TagStream(QIODevice& device, qint64 begin, qint64 end, bool unsynchronised)
    : device_(device), next_(begin), end_(std::max(begin, end)), unsync_(unsynchronised) {}

bool TagStream::refill() {
    const qint64 want = std::min(kWindowBytes, end_ - next_);
    if (want <= 0)
        return false;
    if (device_.pos() != next_ && !device_.seek(next_))
        return false;
    window_.resize(want);
    const qint64 got = device_.read(window_.data(), want);
    if (got <= 0) {
        // A device that ends early ends the tag there.
        window_.clear();
        at_ = 0;
        end_ = next_;
        return false;
    }
    window_.resize(got);
    at_ = 0;
    next_ += got;
    return true;
}

bool TagStream::read(qint64 count, QByteArray* out) {
    // Resizing keeps the buffer's memory, so a caller reading frame after frame into one buffer
    // allocates once (clear() would free it every time).
    out->resize(0);
    if (count < 0 || count > rawRemaining())
        return false;
    if (unsync_)
        return readUnsynchronised(count, out);
    out->resize(count);
    char* to = out->data();
    while (count > 0) {
        if (buffered() == 0 && !refill())
            return false;
        const qint64 n = std::min(count, buffered());
        std::memcpy(to, window_.constData() + at_, n);
        to += n;
        at_ += n;
        count -= n;
    }
    return true;
}

bool TagStream::readUnsynchronised(qint64 count, QByteArray* out) {
    out->reserve(count);
    while (out->size() < count) {
        if (buffered() == 0 && !refill())
            return false;
        const char c = window_[at_++];
        if (afterFF_ && c == 0) {
            afterFF_ = false;
            continue;
        }
        out->append(c);
        afterFF_ = static_cast<unsigned char>(c) == 0xFF;
    }
    return true;
}

bool TagStream::skip(qint64 count) {
    if (count < 0 || count > rawRemaining())
        return false;
    if (!unsync_) {
        if (count <= buffered()) {
            at_ += count;
            return true;
        }
        // Past the window: move the offset, so a large picture is never read.
        next_ += count - buffered();
        at_ = window_.size();
        return true;
    }
    while (count > 0) {
        if (buffered() == 0 && !refill())
            return false;
        const char c = window_[at_++];
        if (afterFF_ && c == 0) {
            afterFF_ = false;
            continue;
        }
        --count;
        afterFF_ = static_cast<unsigned char>(c) == 0xFF;
    }
    return true;
}

bool TagStream::peek(qint64 ahead, qint64 count, QByteArray* out) {
    out->clear();
    if (unsync_ || ahead < 0 || count < 0 || ahead + count > rawRemaining())
        return false;
    if (ahead + count <= buffered()) {
        *out = window_.mid(at_ + ahead, count);
        return true;
    }
    // refill() seeks back to next_ before its next read.
    const qint64 offset = next_ - buffered() + ahead;
    if (!device_.seek(offset))
        return false;
    *out = device_.read(count);
    return out->size() == count;
}

} // namespace tarl
