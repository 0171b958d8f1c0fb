#include "scan/TagPrefetch.h"

#include "tags/ReadTrackTags.h"

#include <algorithm>

namespace tarl {

TagPrefetch::TagPrefetch(QStringList paths, int ahead)
    : paths_(std::move(paths)), ring_(static_cast<size_t>(std::max(1, ahead))),
      reader_([this] { readAll(); }) {}

TagPrefetch::~TagPrefetch() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    reader_.join();
}

void TagPrefetch::readAll() {
    const auto ringSize = static_cast<qsizetype>(ring_.size());
    for (qsizetype index = 0; index < paths_.size(); ++index) {
        {
            std::unique_lock lock(mutex_);
            readerWaits_ = true;
            changed_.wait(lock, [&] { return stopping_ || index - taken_ < ringSize; });
            readerWaits_ = false;
            if (stopping_)
                return;
        }
        // Read without the lock: the import takes earlier results meanwhile.
        Result<TagFields> tags = ReadTrackTags(paths_.at(index));
        bool wake = false;
        {
            const std::lock_guard lock(mutex_);
            ring_[static_cast<size_t>(index % ringSize)] = std::move(tags);
            read_ = index + 1;
            wake = takerWaits_;
        }
        // A wake-up is a system call: only for a taker that sleeps.
        if (wake)
            changed_.notify_all();
    }
}

Result<TagFields> TagPrefetch::takeNext() {
    std::unique_lock lock(mutex_);
    if (taken_ >= paths_.size())
        return Result<TagFields>::failed(QStringLiteral("no file left to read"));
    takerWaits_ = true;
    changed_.wait(lock, [&] { return read_ > taken_; });
    takerWaits_ = false;
    auto& slot = ring_[static_cast<size_t>(taken_ % static_cast<qsizetype>(ring_.size()))];
    Result<TagFields> tags = std::move(*slot);
    slot.reset();
    ++taken_;
    const bool wake = readerWaits_;
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return tags;
}

} // namespace tarl
