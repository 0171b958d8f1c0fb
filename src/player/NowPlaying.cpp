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

qint64 NowPlaying::request(qint64 wParam, qint64 lParam) {
    return state_.services.player.sendMessage(state_.playerPid, player_msg::WmUser, wParam, lParam);
}

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
    const Lookup<qint64> stored = StoredTrackLength(state_.catalog, storedPath);
    if (!stored.ok || length == stored.value)
        return;
    const Result<> learned = StoreTrackLength(state_.catalog, storedPath, length);
    if (!learned) {
        // Every later entry would be refused the same way, three times a second.
        refusingCatalog_ = catalogFile;
        view_.setStatusPanel(2, QStringLiteral("Track lengths cannot be saved in the catalog: ") +
                                    learned.error);
        return;
    }
    view_.reloadTrackList(entry);
}

void NowPlaying::Tick() {
    state_.playerPid = state_.services.player.findWindow();
    const qint64 length = request(1, player_msg::GetTime);

    const qint32 second = WholeSeconds(request(0, player_msg::GetTime));
    if (second != lastShownSecond_) {
        view_.setElapsed(FormatMinSec(second) + QLatin1Char('.'));
        lastShownSecond_ = second;
    }
    if (!panel_.positionDragging()) {
        const qint32 at = WholeSeconds(request(0, player_msg::GetTime));
        panel_.setPositionKnob(PositionKnobLeft(at, length));
    }

    const qint32 entry = static_cast<qint32>(request(0, player_msg::GetListPos));
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
        view_.selec_song(true);
        view_.misIcon(state_.lastSong);
    } else if (lengthPending_ && length >= 1) {
        learnLength(length, entry);
        lengthPending_ = false;
        view_.setDisplay(PlayingCaption(length, entry, entryCount_, state_.lastSong));
        view_.selec_song(false);
    }
    view_.setDisplayTip(QStringLiteral("File: ") + state_.lastSong);
}

} // namespace tarl
