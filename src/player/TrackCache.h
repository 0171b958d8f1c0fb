#pragma once

#include "text/Result.h"

#include <QSet>
#include <QString>
#include <QtGlobal>
#include <atomic>

namespace tarl {

// Copies of queued songs, kept so a disc can come out while its songs wait in the queue:
// $XDG_CACHE_HOME/tarl/queue (~/.cache/tarl/queue), at most `limitBytes` (2 GB unless the
// settings say otherwise, [Player] queue_cache_mb).
//
// - A copy's name is a hash of what it is a copy of (the disc and the song's path on it) and
//   the song's suffix, so the same song of the same disc is copied once, and no name from a
//   disc chooses where the copy goes.
// - Room is made oldest first: the copies least recently stored or asked for go, never one
//   the queue still holds (`keep`). A song larger than the room left fails with a sentence.
// - A copy is written under a name of its own (O_CREAT | O_EXCL | O_NOFOLLOW, never through a
//   link) and renamed into place once whole, so a half copy (a disc taken out, a stop) is never
//   taken for a song; what is left of one is removed.
// - Only regular files are copied; the cache folder is made with the user's rights only.
class TrackCache {
public:
    explicit TrackCache(QString folder = DefaultFolder(), qint64 limitBytes = DefaultLimitBytes);

    static QString DefaultFolder();
    static constexpr qint64 DefaultLimitBytes = 2LL * 1024 * 1024 * 1024;

    const QString& folder() const { return folder_; }
    qint64 limitBytes() const { return limit_; }

    // The copy's path for the song `source` known as `identity`, whether it exists or not.
    QString copyPath(const QString& identity, const QString& source) const;
    // Copies `source` (unless a whole copy is there already, which is then counted as used
    // now); the copy's path. `stop` set by another thread ends a copy half-way (it fails).
    Result<QString> store(const QString& source, const QString& identity, const QSet<QString>& keep,
                          const std::atomic_bool* stop = nullptr);
    // The bytes the copies take now.
    qint64 usedBytes() const;

private:
    // Removes the oldest copies not in `keep` until `needed` more bytes fit.
    bool makeRoom(qint64 needed, const QSet<QString>& keep) const;

    QString folder_;
    qint64 limit_;
};

} // namespace tarl
