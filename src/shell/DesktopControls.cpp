#include "shell/DesktopControls.h"

#include "platform/PlayerLink.h"
#include "player/NowPlaying.h"
#include "player/PlayerCommands.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "tags/ReadTrackTags.h"

#include <QFileInfo>
#include <cmath>

namespace tarl {

namespace {

// A tag the file left empty is a blank in the catalog's way; the desktop gets nothing then.
QString TagText(const QString& value) {
    return value.trimmed();
}

} // namespace

DesktopControls::DesktopControls(AppState& state, PlayerCommands& commands, NowPlaying& nowPlaying)
    : state_(state), commands_(commands), nowPlaying_(nowPlaying) {}

void DesktopControls::update() {
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = state_.playerPid;
    MediaStatus now;
    const PlayerState playing = player.state(window);
    now.playback = playing == PlayerState::Playing  ? Playback::Playing
                   : playing == PlayerState::Paused ? Playback::Paused
                                                    : Playback::Stopped;
    now.volume = double(state_.playerVolume) / 255.0;
    now.shuffle = commands_.shuffle();
    now.loop = commands_.repeat() == Repeat::Song   ? LoopMode::Track
               : commands_.repeat() == Repeat::List ? LoopMode::Playlist
                                                    : LoopMode::None;
    const int count = nowPlaying_.entryCount();
    now.canPlay = count > 0;
    now.canPause = now.playback == Playback::Playing;
    if (now.playback != Playback::Stopped) {
        const QString path = state_.pathMap.toLocal(state_.lastFolder + state_.lastSong);
        now.track = status_.track;
        if (path != taggedPath_) {
            taggedPath_ = path;
            now.track = MediaTrack{};
            now.track.path = path;
            const Result<TagFields> tags = ReadTrackTags(path);
            now.track.title = tags ? TagText(tags.value.title) : QString();
            if (now.track.title.isEmpty())
                now.track.title = QFileInfo(path).completeBaseName();
            now.track.artist = tags ? TagText(tags.value.artist) : QString();
            now.track.album = tags ? TagText(tags.value.album) : QString();
        }
        now.track.entry = state_.lastIndex;
        now.track.lengthUs = player.lengthSeconds(window) * 1000000;
        now.positionUs = player.positionMs(window) * 1000;
        now.canSeek = now.track.lengthUs > 0;
        now.canGoPrevious = state_.lastIndex > 0;
        now.canGoNext = state_.lastIndex + 1 < count || now.loop == LoopMode::Playlist;
    } else {
        taggedPath_.clear();
        // A stopped or gone player comes back with next, as the panel's button does.
        now.canGoNext = count > 0;
    }
    status_ = now;
}

void DesktopControls::playPause() {
    commands_.playPause();
}

void DesktopControls::play() {
    commands_.play();
}

void DesktopControls::pause() {
    commands_.pause();
}

void DesktopControls::stop() {
    commands_.stop();
}

void DesktopControls::next() {
    commands_.next();
}

void DesktopControls::previous() {
    commands_.previous();
}

void DesktopControls::seekBy(qint64 offsetUs) {
    commands_.seekBy(offsetUs / 1000);
}

void DesktopControls::setPosition(qint64 positionUs) {
    commands_.seekTo(positionUs / 1000);
}

void DesktopControls::openUri(const QString& localPath) {
    // Played as a track of the collection is: through the temporary playlist.
    if (state_.play)
        state_.play->PlayKey(localPath);
}

void DesktopControls::setVolume(double volume) {
    commands_.setVolume(int(std::lround(volume * 255.0)));
    if (volumeChanged)
        volumeChanged();
}

void DesktopControls::setShuffle(bool on) {
    commands_.setShuffle(on);
}

void DesktopControls::setLoop(LoopMode mode) {
    commands_.setRepeat(mode == LoopMode::Track      ? Repeat::Song
                        : mode == LoopMode::Playlist ? Repeat::List
                                                     : Repeat::Off);
}

void DesktopControls::raise() {
    if (raiseWindow)
        raiseWindow();
}

void DesktopControls::quit() {
    if (closeWindow)
        closeWindow();
}

} // namespace tarl
