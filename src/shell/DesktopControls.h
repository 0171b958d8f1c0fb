#pragma once

#include "mpris/MediaControls.h"

#include <QString>
#include <functional>

namespace tarl {

struct AppState;
class NowPlaying;
class PlayerCommands;

// What the desktop's player controls (MPRIS: media keys, the sound menu) see of the window and
// ask of it. Every request goes through the everyday verbs (PlayerCommands), so a media key
// behaves as the panel's button. The status is made by update() on the window's tick, from what
// the tracker already asked the player; status() only hands it out, so the bus never waits for
// the player. A song's title, artist and album are read from its file once, when it starts.
class DesktopControls : public MediaControls {
public:
    DesktopControls(AppState& state, PlayerCommands& commands, NowPlaying& nowPlaying);

    // On every tick, after the tracker.
    void update();

    MediaStatus status() override { return status_; }
    void playPause() override;
    void play() override;
    void pause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekBy(qint64 offsetUs) override;
    void setPosition(qint64 positionUs) override;
    void openUri(const QString& localPath) override;
    void setVolume(double volume) override;
    void setShuffle(bool on) override;
    void setLoop(LoopMode mode) override;
    void raise() override;
    void quit() override;

    // The window's side: shown and raised, closed as by its close box, the volume knob moved.
    std::function<void()> raiseWindow;
    std::function<void()> closeWindow;
    std::function<void()> volumeChanged;

private:
    AppState& state_;
    PlayerCommands& commands_;
    NowPlaying& nowPlaying_;
    MediaStatus status_;
    // The song whose tags the status holds.
    QString taggedPath_;
};

} // namespace tarl
