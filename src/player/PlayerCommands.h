#pragma once

#include "platform/PlayerLink.h"

#include <QString>
#include <QtGlobal>
#include <functional>

namespace tarl {

struct AppState;
class PlayerControl;
class PlayQueue;

// The everyday verbs of playing, whoever asks: the panel's buttons, the keyboard, the tray's menu
// and the desktop's media keys (MPRIS) all come here, so they behave alike.
//
// A player that is gone (killed, crashed, closed by the user) comes back: play and next start it
// again on the temporary playlist, at the entry and second the tracker last saw (next: the entry
// after it, from its start), and the status bar says so. Nothing is started while the queue is
// empty.
//
// The play order (shuffle, repeat) is the player's own: repeat is mpv's loop options, shuffle its
// list shuffled with the song playing first and the temporary playlist written again to match
// (PlayQueue::resync). Both are kept in tarl.ini and given again to every player that starts and
// to every new list handed to it.
class PlayerCommands {
public:
    PlayerCommands(AppState& state, PlayerControl& control, PlayQueue& queue);

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    // Seeks by `ms` (negative: back) within the song playing, or to `ms` from its start.
    void seekBy(qint64 ms);
    void seekTo(qint64 ms);
    // 0..255, as the volume knob; kept in the settings.
    void setVolume(int volume);

    bool shuffle() const { return shuffle_; }
    Repeat repeat() const { return repeat_; }
    void setShuffle(bool on);
    void setRepeat(Repeat repeat);
    // Reads the play order from the settings (start-up, after the last list was resumed).
    void loadOrder();

    // Every tick, after the tracker: keeps what it saw for bringing the player back, and gives
    // the play order to a player or a list that started since.
    void followPlayer();

    // The status bar's sentence; the toggles that show the order.
    std::function<void(const QString&)> report;
    std::function<void()> orderChanged;

private:
    // Starts the player again where it was, `next`: on the entry after it. False when there is
    // nothing to play (said in the status bar).
    bool bringBack(bool next);
    PlayerWindow window();

    AppState& state_;
    PlayerControl& control_;
    PlayQueue& queue_;
    bool shuffle_ = false;
    Repeat repeat_ = Repeat::Off;
    // What the tracker last saw of a player that answered.
    qint32 seenEntry_ = -1;
    qint64 seenMs_ = 0;
    // The player and the list the order was last given to.
    PlayerWindow orderedWindow_ = 0;
    quint64 orderedList_ = 0;
};

// "off", "list", "song" and back; an unknown text is Off.
QString RepeatName(Repeat repeat);
Repeat RepeatNamed(const QString& name);

} // namespace tarl
