#pragma once

#include <QString>
#include <QtGlobal>

namespace tarl {

// What the desktop's player controls (media keys, the panel's sound menu, a phone's remote) see
// of Tarl and may ask of it, through MprisService. The main window implements MediaControls over
// the player it remote-controls; the service never reaches the player itself. Times are in
// microseconds, as the desktop counts them.

enum class Playback { Stopped, Paused, Playing };

// Track: the current track starts again when it ends; Playlist: the list starts again.
enum class LoopMode { None, Track, Playlist };

// What is playing; every field empty (entry -1) while nothing is.
struct MediaTrack {
    // The player's list entry, from 0: the track's id on the bus is /org/tarl/track/<entry>.
    qint64 entry = -1;
    QString title;
    QString artist;
    QString album;
    // The local file, absolute.
    QString path;
    // 0 while the length is not known.
    qint64 lengthUs = 0;
    // A picture file of the track or its album; "" while there is none.
    QString artPath;

    bool operator==(const MediaTrack&) const = default;
};

struct MediaStatus {
    Playback playback = Playback::Stopped;
    MediaTrack track;
    // Where the current track is, as the player last said.
    qint64 positionUs = 0;
    // 0 to 1.
    double volume = 0;
    bool shuffle = false;
    LoopMode loop = LoopMode::None;
    // What the window would do now: a request the status does not allow is not passed on.
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    bool operator==(const MediaStatus&) const = default;
};

class MediaControls {
public:
    virtual ~MediaControls() = default;

    // The state of now: read for every property asked and on every MprisService::refresh, so it
    // must be cheap (the values the window already holds, no question to the player).
    virtual MediaStatus status() = 0;

    // The player panel's buttons: play or pause as the panel's button does, start or resume,
    // pause, stop, the next and the previous entry of the list.
    virtual void playPause() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;

    // Moves by `offsetUs` from where the current track is, back when negative; before the start
    // means the start, past the end the next entry, as the player does on its own.
    virtual void seekBy(qint64 offsetUs) = 0;
    // Moves to `positionUs` of the current track, between 0 and its length.
    virtual void setPosition(qint64 positionUs) = 0;
    // Plays one local sound file: an absolute path of a regular file that existed when asked.
    virtual void openUri(const QString& localPath) = 0;

    // 0 to 1.
    virtual void setVolume(double volume) = 0;
    virtual void setShuffle(bool on) = 0;
    virtual void setLoop(LoopMode mode) = 0;

    // Brings the main window to the front.
    virtual void raise() = 0;
    // Closes Tarl as its own File > Exit does. Called after the bus call was answered.
    virtual void quit() = 0;
};

} // namespace tarl
