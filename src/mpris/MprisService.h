#pragma once

#include "mpris/MediaControls.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace tarl {

class MprisPlayerAdaptor;

// Tarl on the session bus as a media player the desktop controls (MPRIS 2): the object
// /org/mpris/MediaPlayer2 with the interfaces org.mpris.MediaPlayer2 (Raise, Quit, who Tarl is)
// and org.mpris.MediaPlayer2.Player (the buttons, seeking, opening a file, the playing track,
// volume, shuffle and loop), under the name org.mpris.MediaPlayer2.tarl, or
// org.mpris.MediaPlayer2.tarl.instance<pid> while another Tarl holds that one.
//
// The desktop's requests reach MediaControls when its status allows them (Next only while
// canGoNext, a seek only while canSeek, a new position only for the current track and within its
// length, a file only when LocalSoundFileOf accepts its URI); its questions are answered from
// MediaControls::status() at the time asked. What changed is announced by refresh(): the window
// calls it on every change of the now-playing display, and the desktop hears of each change once.
class MprisService : public QObject {
    Q_OBJECT

public:
    // `bus` is the session bus for the program, a private one for tests. Nothing happens on it
    // before start().
    MprisService(MediaControls& controls, QDBusConnection bus, QObject* parent = nullptr);
    // Leaves the bus: the name and the object go.
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // Puts the object on the bus and takes the name. False, with failure() set, when there is no
    // bus or the bus gives neither name; Tarl then runs without media keys.
    bool start();
    // Why start() failed, one sentence for the status bar; "" while it has not.
    QString failure() const { return failure_; }
    // The name taken on the bus; "" before start() succeeded.
    QString busName() const { return busName_; }

    // Reads the status and tells the desktop what changed since the last one: the changed
    // properties in one PropertiesChanged (never Position, which is asked for), and Seeked when
    // the position jumped rather than ran on. Nothing when nothing changed; nothing before start().
    // Cheap enough for every tick.
    void refresh();

private:
    friend class MprisRootAdaptor;
    friend class MprisPlayerAdaptor;

    bool fail(const QString& why);
    // refresh(), with Seeked told whether or not the position jumped: after a seek the desktop
    // asked for.
    void announce(bool seeked);

    MediaControls& controls_;
    QDBusConnection bus_;
    MprisPlayerAdaptor* player_ = nullptr;
    bool started_ = false;
    QString busName_;
    QString failure_;
    // The status last announced, and the wall time since, by which a playing track runs on.
    MediaStatus last_;
    QElapsedTimer sinceLast_;
};

} // namespace tarl
