#pragma once

#include "mpris/MediaControls.h"

#include <QString>
#include <QStringList>

namespace tarl::test {

// The main window as the service sees it: the status is whatever the test sets, and every request
// is written down as a line ("seekBy 5000000"). Seeks move the status's position, as the player
// would.
class RecordingControls : public MediaControls {
public:
    MediaStatus state;
    QStringList calls;

    MediaStatus status() override { return state; }
    void playPause() override { calls << "playPause"; }
    void play() override { calls << "play"; }
    void pause() override { calls << "pause"; }
    void stop() override { calls << "stop"; }
    void next() override { calls << "next"; }
    void previous() override { calls << "previous"; }
    void seekBy(qint64 offsetUs) override {
        calls << QStringLiteral("seekBy %1").arg(offsetUs);
        state.positionUs += offsetUs;
    }
    void setPosition(qint64 positionUs) override {
        calls << QStringLiteral("setPosition %1").arg(positionUs);
        state.positionUs = positionUs;
    }
    void openUri(const QString& localPath) override { calls << "openUri " + localPath; }
    void setVolume(double volume) override { calls << QStringLiteral("setVolume %1").arg(volume); }
    void setShuffle(bool on) override { calls << QStringLiteral("setShuffle %1").arg(on); }
    void setLoop(LoopMode mode) override { calls << QStringLiteral("setLoop %1").arg(int(mode)); }
    void raise() override { calls << "raise"; }
    void quit() override { calls << "quit"; }
};

} // namespace tarl::test
