#include "player/PlayerCommands.h"

#include "player/PlayQueue.h"
#include "player/PlayerControl.h"
#include "player/Resume.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"

#include <QFileInfo>
#include <algorithm>

namespace tarl {

QString RepeatName(Repeat repeat) {
    switch (repeat) {
    case Repeat::List:
        return QStringLiteral("list");
    case Repeat::Song:
        return QStringLiteral("song");
    case Repeat::Off:
        break;
    }
    return QStringLiteral("off");
}

Repeat RepeatNamed(const QString& name) {
    if (name == QLatin1String("list"))
        return Repeat::List;
    if (name == QLatin1String("song"))
        return Repeat::Song;
    return Repeat::Off;
}

PlayerCommands::PlayerCommands(AppState& state, PlayerControl& control, PlayQueue& queue)
    : state_(state), control_(control), queue_(queue) {}

PlayerWindow PlayerCommands::window() {
    state_.playerPid = state_.services.player.findWindow();
    return state_.playerPid;
}

void PlayerCommands::play() {
    const PlayerWindow w = window();
    if (w == 0) {
        bringBack(false);
        return;
    }
    state_.services.player.play(w);
}

void PlayerCommands::pause() {
    const PlayerWindow w = window();
    // The player's pause toggles: only a song playing is paused.
    if (state_.services.player.state(w) == PlayerState::Playing)
        state_.services.player.pause(w);
}

void PlayerCommands::playPause() {
    const PlayerWindow w = window();
    if (w != 0 && state_.services.player.state(w) == PlayerState::Playing)
        state_.services.player.pause(w);
    else
        play();
}

void PlayerCommands::stop() {
    state_.services.player.stop(window());
}

void PlayerCommands::next() {
    const PlayerWindow w = window();
    if (w == 0) {
        bringBack(true);
        return;
    }
    state_.services.player.next(w);
}

void PlayerCommands::previous() {
    state_.services.player.previous(window());
}

void PlayerCommands::seekBy(qint64 ms) {
    const PlayerWindow w = window();
    PlayerLink& player = state_.services.player;
    if (player.state(w) == PlayerState::Stopped)
        return;
    qint64 to = std::max<qint64>(0, player.positionMs(w) + ms);
    // Past the end the player would move to the next song; a seek stays in this one.
    if (const qint64 length = player.lengthSeconds(w); length > 0)
        to = std::min(to, std::max<qint64>(0, length * 1000 - 1000));
    player.seekTo(w, to);
}

void PlayerCommands::seekTo(qint64 ms) {
    const PlayerWindow w = window();
    if (state_.services.player.state(w) != PlayerState::Stopped)
        state_.services.player.seekTo(w, std::max<qint64>(0, ms));
}

void PlayerCommands::setVolume(int volume) {
    state_.playerVolume = static_cast<qint16>(std::clamp(volume, 0, 255));
    state_.services.player.setVolume(window(), state_.playerVolume);
    state_.settings.write(keys::Volume, QString::number(state_.playerVolume));
}

void PlayerCommands::loadOrder() {
    shuffle_ = state_.settings.readBool(keys::Shuffle);
    repeat_ = RepeatNamed(state_.settings.read(keys::RepeatMode));
    // The list the start-up resumed is the queue as it was left: it is not shuffled again.
    orderedList_ = control_.listsStarted();
    if (orderChanged)
        orderChanged();
}

void PlayerCommands::setShuffle(bool on) {
    shuffle_ = on;
    state_.settings.write(keys::Shuffle, on ? QStringLiteral("true") : QStringLiteral("false"));
    const PlayerWindow w = window();
    if (w != 0 && state_.services.player.shuffleEntries(w, on)) {
        if (const Result<> synced = queue_.resync(); !synced && report)
            report(synced.error);
    }
    orderedList_ = control_.listsStarted();
    if (orderChanged)
        orderChanged();
}

void PlayerCommands::setRepeat(Repeat repeat) {
    repeat_ = repeat;
    state_.settings.write(keys::RepeatMode, RepeatName(repeat));
    state_.services.player.setRepeat(window(), repeat);
    if (orderChanged)
        orderChanged();
}

void PlayerCommands::followPlayer() {
    const PlayerWindow w = state_.playerPid;
    if (w == 0)
        return;
    PlayerLink& player = state_.services.player;
    const PlayerState playing = player.state(w);
    if (playing != PlayerState::Stopped) {
        seenEntry_ = state_.lastIndex;
        if (const qint64 ms = player.positionMs(w); ms > 0)
            seenMs_ = ms;
    }
    if (w != orderedWindow_) {
        player.setRepeat(w, repeat_);
        orderedWindow_ = w;
    }
    // A new list is shuffled once the player holds it and plays from it.
    if (orderedList_ != control_.listsStarted() && playing != PlayerState::Stopped) {
        orderedList_ = control_.listsStarted();
        if (shuffle_ && player.shuffleEntries(w, true)) {
            if (const Result<> synced = queue_.resync(); !synced && report)
                report(synced.error);
        }
    }
}

bool PlayerCommands::bringBack(bool next) {
    const QStringList tracks = queue_.tracks();
    if (tracks.isEmpty()) {
        if (report)
            report(QStringLiteral("Nothing to play: choose a list or a song."));
        return false;
    }
    if (!control_.knowPlayerProgram())
        return false;
    qint32 entry = std::clamp<qint32>(seenEntry_ >= 0 ? seenEntry_ : state_.lastIndex, 0,
                                      qint32(tracks.size() - 1));
    std::optional<qint64> seconds;
    if (next) {
        ++entry;
        if (entry >= tracks.size()) {
            if (repeat_ != Repeat::List) {
                if (report)
                    report(QStringLiteral("The queue has ended."));
                return false;
            }
            entry = 0;
        }
    } else {
        seconds = (seenEntry_ >= 0 ? seenMs_ : qint64(state_.lastPosition) * 1000) / 1000;
    }
    const bool launched = control_.StartPlayer(state_.playerPath, state_.tmpPlaylistPath);
    if (!launched) {
        if (report)
            report(QStringLiteral("The player could not be started again."));
        return false;
    }
    // The list is the same one, in the same order: it must not be shuffled again.
    orderedList_ = control_.listsStarted();
    ResumeTemporaryPlaylist(state_, true, {entry, seconds});
    if (report)
        report(QStringLiteral("The player was not running: started it again at %1.")
                   .arg(QFileInfo(tracks[entry]).fileName()));
    return true;
}

} // namespace tarl
