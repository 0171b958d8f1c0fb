#include "player/PlayQueue.h"

#include "platform/PlayerLink.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"
#include "text/PlaylistText.h"

namespace tarl {

namespace {

// A player names an entry as its list gave it: a path, or the "file://" URL the temporary
// playlist wrote for a name it could not write as it is.
QString TrackOfEntry(const QString& entry) {
    if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return FileUrlPath(entry);
    return entry;
}

} // namespace

QString SongCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 song") : QStringLiteral("%1 songs").arg(count);
}

QStringList PlayQueue::tracks() const {
    return ReadTemporaryPlaylist(state_.tmpPlaylistPath);
}

qint32 PlayQueue::playingEntry() const {
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = player.findWindow();
    if (window == 0)
        return -1;
    return static_cast<qint32>(player.entry(window));
}

Result<PlayQueue::Queued> PlayQueue::playNext(const QStringList& paths) {
    return insert(paths, true);
}

Result<PlayQueue::Queued> PlayQueue::addToQueue(const QStringList& paths) {
    return insert(paths, false);
}

Result<PlayQueue::Queued> PlayQueue::insert(const QStringList& paths, bool next) {
    const PlayerTracks taken = TracksForThePlayer(paths);
    Queued queued;
    queued.leftOut = LeftOutSentence(taken.leftOut);
    if (taken.tracks.isEmpty())
        return Result<Queued>::failed(QStringLiteral("Nothing to queue: ") +
                                      (queued.leftOut.isEmpty() ? QStringLiteral("no track was "
                                                                                 "chosen.")
                                                                : queued.leftOut));
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = player.findWindow();
    state_.playerPid = window;
    QStringList list = tracks();
    if (window == 0 || list.isEmpty()) {
        // Nothing plays: the queue is these tracks, and they play.
        if (const Result<> written = write(taken.tracks); !written)
            return Result<Queued>::failed(written.error);
        queued.added = int(taken.tracks.size());
        queued.startedPlayer = startPlayer && startPlayer(state_.tmpPlaylistPath);
        askTickToReread();
        return queued;
    }
    const qint64 playing = player.entry(window);
    const qint64 at = next ? qBound<qint64>(0, playing + 1, list.size()) : list.size();
    QStringList edited = list;
    for (qsizetype i = 0; i < taken.tracks.size(); ++i)
        edited.insert(at + i, taken.tracks[i]);
    if (const Result<> written = write(edited); !written)
        return Result<Queued>::failed(written.error);
    const qint64 end = list.size();
    bool inStep = player.appendEntries(window, taken.tracks);
    for (qsizetype i = 0; inStep && at != end && i < taken.tracks.size(); ++i)
        inStep = player.moveEntry(window, end + i, at + i);
    askTickToReread();
    if (!inStep) {
        const Result<> synced = resync();
        return Result<Queued>::failed(QStringLiteral("The player did not take every queued track") +
                                      (synced ? QStringLiteral("; the queue shows what it holds.")
                                              : QStringLiteral(": ") + synced.error));
    }
    queued.added = int(taken.tracks.size());
    return queued;
}

Result<> PlayQueue::remove(qint32 index) {
    QStringList list = tracks();
    if (index < 0 || index >= list.size())
        return Result<>::failed(QStringLiteral("That entry is no longer in the queue."));
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = player.findWindow();
    if (window != 0 && player.entry(window) == index &&
        player.state(window) != PlayerState::Stopped)
        return Result<>::failed(QStringLiteral("The song playing cannot be taken out of the "
                                               "queue; skip it first."));
    list.removeAt(index);
    if (const Result<> written = write(list); !written)
        return written;
    askTickToReread();
    if (window != 0 && !player.removeEntry(window, index))
        return resync();
    return {};
}

Result<> PlayQueue::move(qint32 from, qint32 to) {
    QStringList list = tracks();
    if (from < 0 || from >= list.size() || to < 0 || to >= list.size())
        return Result<>::failed(QStringLiteral("That entry is no longer in the queue."));
    if (from == to)
        return {};
    list.move(from, to);
    if (const Result<> written = write(list); !written)
        return written;
    askTickToReread();
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = player.findWindow();
    if (window != 0 && !player.moveEntry(window, from, to))
        return resync();
    return {};
}

Result<> PlayQueue::replace(const std::map<qint32, QString>& byEntry) {
    QStringList list = tracks();
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = player.findWindow();
    const qint64 playing =
        window != 0 && player.state(window) != PlayerState::Stopped ? player.entry(window) : -1;
    for (const auto& [index, path] : byEntry) {
        if (index < 0 || index >= list.size())
            return Result<>::failed(QStringLiteral("That entry is no longer in the queue."));
        if (index == playing)
            return Result<>::failed(QStringLiteral("The song playing is not replaced."));
        list[index] = path;
    }
    if (byEntry.empty())
        return {};
    if (const Result<> written = write(list); !written)
        return written;
    askTickToReread();
    if (window == 0)
        return {};
    const qint64 last = list.size();
    for (const auto& [index, path] : byEntry) {
        if (!player.appendEntries(window, {path}) || !player.moveEntry(window, last, index) ||
            !player.removeEntry(window, index + 1))
            return resync();
    }
    return {};
}

Result<> PlayQueue::resync() {
    PlayerLink& player = state_.services.player;
    const std::optional<QStringList> entries = player.entries(player.findWindow());
    if (!entries)
        return Result<>::failed(QStringLiteral("The player does not answer."));
    QStringList list;
    list.reserve(entries->size());
    for (const QString& entry : *entries)
        list << TrackOfEntry(entry);
    askTickToReread();
    return write(list);
}

Result<> PlayQueue::write(const QStringList& list) {
    const Result<int> written = WriteTemporaryPlaylist(state_.tmpPlaylistPath, list);
    if (!written)
        return Result<>::failed(QStringLiteral("The queue could not be saved: ") + written.error);
    return {};
}

void PlayQueue::askTickToReread() {
    state_.lastListIndex = -1;
}

} // namespace tarl
