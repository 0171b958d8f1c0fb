#include "player/NowPlaying.h"

#include "catalog/TrackLength.h"
#include "platform/PlayerLink.h"
#include "player/PlayerPanel.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"
#include "state/Convert.h"
#include "state/LastSong.h"
#include "tags/FormatMinSec.h"
#include "text/PathText.h"

namespace tarl {

QString PlayingCaption(qint64 lengthSeconds, qint32 entry, int entryCount, const QString& song) {
    return QLatin1Char('/') + FormatMinSec(lengthSeconds) + QStringLiteral("  (") +
           QString::number(qint64(entry) + 1) + QLatin1Char('/') + QString::number(entryCount) +
           QStringLiteral(")  ") + QStringLiteral("''") + song + QStringLiteral(" ''");
}

NowPlaying::NowPlaying(AppState& state, PlayerPanel& panel, NowPlayingView& view)
    : state_(state), panel_(panel), view_(view) {}

static qint32 WholeSeconds(qint64 ms) {
    return static_cast<qint32>(RoundHalfEven(double(ms) / 1000.0));
}

void NowPlaying::learnLength(qint64 length, qint32 entry) {
    const QString catalogFile = state_.catalog.connection.fileName();
    if (catalogFile != refusingCatalog_)
        refusingCatalog_.clear(); // another catalog is open
    if (length < 1 || playingPath_.isEmpty() || !refusingCatalog_.isEmpty())
        return;
    // The player reports this machine's path; the catalog knows the track by its stored one.
    const QString storedPath = state_.pathMap.toStored(playingPath_);
    {
        const BriefBusyWait brief(state_.catalog.connection, kLengthBusyWaitMs);
        const Lookup<qint64> stored = StoredTrackLength(state_.catalog, storedPath);
        if (stored.ok && length == stored.value)
            return;
        if (!stored.ok && !state_.catalog.connection.lastFailureWasBusy())
            return;
    }
    if (waitingCatalog_ != catalogFile)
        waitingLengths_.clear(); // they were of another catalog
    waitingCatalog_ = catalogFile;
    waitingLengths_[storedPath] = length;
    storeWaitingLengths(entry);
}

void NowPlaying::storeWaitingLengths(qint32 entry) {
    ticksSinceStoreTry_ = 0;
    bool stored = false;
    const BriefBusyWait brief(state_.catalog.connection, kLengthBusyWaitMs);
    while (!waitingLengths_.empty()) {
        const auto first = waitingLengths_.begin();
        const Result<> learned = StoreTrackLength(state_.catalog, first->first, first->second);
        if (learned) {
            waitingLengths_.erase(first);
            stored = true;
            continue;
        }
        if (state_.catalog.connection.lastFailureWasBusy()) {
            if (!busyShown_)
                view_.setStatusPanel(2, QStringLiteral("The catalog is busy with another "
                                                       "program's write: track lengths are kept "
                                                       "and saved once it is done."));
            busyShown_ = true;
            break;
        }
        // Every later entry would be refused the same way, three times a second.
        refusingCatalog_ = waitingCatalog_;
        waitingLengths_.clear();
        busyShown_ = false;
        view_.setStatusPanel(2, QStringLiteral("Track lengths cannot be saved in the catalog: ") +
                                    learned.error);
        return;
    }
    if (waitingLengths_.empty() && busyShown_) {
        busyShown_ = false;
        view_.setStatusPanel(2, QString());
    }
    if (stored)
        view_.reloadTrackList(entry);
}

void NowPlaying::Tick() {
    state_.playerPid = state_.services.player.findWindow();
    // Lengths kept while the catalog was busy, for the catalog still open.
    if (!waitingLengths_.empty() && ++ticksSinceStoreTry_ >= 3) {
        if (state_.catalog.connection.fileName() == waitingCatalog_)
            storeWaitingLengths(state_.lastListIndex);
        else
            waitingLengths_.clear();
    }
    const qint64 length = state_.services.player.lengthSeconds(state_.playerPid);

    const qint32 second = WholeSeconds(state_.services.player.positionMs(state_.playerPid));
    if (second != lastShownSecond_) {
        view_.setElapsed(FormatMinSec(second) + QLatin1Char('.'));
        lastShownSecond_ = second;
    }
    if (!panel_.positionDragging()) {
        const qint32 at = WholeSeconds(state_.services.player.positionMs(state_.playerPid));
        panel_.setPositionKnob(PositionKnobLeft(at, length));
    }

    const qint32 entry = static_cast<qint32>(state_.services.player.entry(state_.playerPid));
    state_.lastIndex = entry;
    if (entry != state_.lastListIndex) {
        playingPath_ = TemporaryPlaylistEntry(state_.tmpPlaylistPath, entry, &entryCount_);
        learnLength(length, entry);
        state_.lastListIndex = entry;
        // The last song is kept as the catalog knows it: the tree and the track list find it so.
        const QString storedPath = state_.pathMap.toStored(playingPath_);
        state_.lastFolder = FolderOf(storedPath);
        state_.lastSong = storedPath.mid(state_.lastFolder.size());
        view_.setDisplay(PlayingCaption(length, entry, entryCount_, state_.lastSong));
        // Also while no player answers: one just started shows up on this same entry a tick
        // or two later, and its length must still be learned then.
        lengthPending_ = length < 1 && !playingPath_.isEmpty();
        SaveLastSong(state_);
        view_.selectPlayingSong(true);
        view_.setTrayTip(state_.lastSong);
    } else if (lengthPending_ && length >= 1) {
        learnLength(length, entry);
        lengthPending_ = false;
        view_.setDisplay(PlayingCaption(length, entry, entryCount_, state_.lastSong));
        view_.selectPlayingSong(false);
    }
    view_.setDisplayTip(QStringLiteral("File: ") + state_.lastSong);
}

} // namespace tarl
