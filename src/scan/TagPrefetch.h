#pragma once

#include "tags/TagFields.h"
#include "text/Result.h"

#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tarl {

// Reads the tags of an import's sound files on a thread of its own, a bounded number of files
// ahead of the import, so that reading the files and writing the catalog (each about half of an
// import's work) overlap on two processors. The import takes the results in the order of the
// paths it gave, one after the other; memory stays bounded by `ahead` results however many
// files there are. Leaving early is fine: the destructor stops the reader and waits for it.
class TagPrefetch {
public:
    explicit TagPrefetch(QStringList paths, int ahead = 64);
    ~TagPrefetch();
    TagPrefetch(const TagPrefetch&) = delete;
    TagPrefetch& operator=(const TagPrefetch&) = delete;

    // The tags and length of the next path in order (ReadTrackTags' answer for it).
    Result<TagFields> takeNext();

private:
    void readAll();

    const QStringList paths_;
    std::vector<std::optional<Result<TagFields>>> ring_;
    qsizetype read_ = 0;  // results placed in the ring so far
    qsizetype taken_ = 0; // results taken out
    bool stopping_ = false;
    bool readerWaits_ = false; // each side wakes the other only when it sleeps
    bool takerWaits_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread reader_; // last: started once everything above is ready
};

} // namespace tarl
