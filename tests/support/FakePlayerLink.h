#pragma once

#include "platform/PlayerLink.h"

#include <QList>
#include <QStringList>
#include <map>
#include <vector>

namespace tarl::test {

// A player that records what it is told. `running` decides whether it is found; the questions
// (verbs "lengthSeconds", "positionMs", "entry") answer what `replies` holds for them.
class FakePlayerLink : public PlayerLink {
public:
    // One verb: the window it went to, its name and the value it carried (0 when none).
    struct Call {
        PlayerWindow window;
        QString verb;
        qint64 value = 0;
        bool operator==(const Call&) const = default;
    };

    PlayerWindow findWindow() override { return running ? window : 0; }
    qint64 lengthSeconds(PlayerWindow w) override { return ask(w, "lengthSeconds"); }
    qint64 positionMs(PlayerWindow w) override { return ask(w, "positionMs"); }
    qint64 entry(PlayerWindow w) override { return ask(w, "entry"); }
    void seekTo(PlayerWindow w, qint64 ms) override { sent.push_back({w, "seekTo", ms}); }
    void selectEntry(PlayerWindow w, qint64 index) override {
        sent.push_back({w, "selectEntry", index});
    }
    void setVolume(PlayerWindow w, qint64 volume) override {
        sent.push_back({w, "setVolume", volume});
    }
    void play(PlayerWindow w) override { sent.push_back({w, "play"}); }
    void pause(PlayerWindow w) override { sent.push_back({w, "pause"}); }
    void stop(PlayerWindow w) override { sent.push_back({w, "stop"}); }
    void next(PlayerWindow w) override { sent.push_back({w, "next"}); }
    void previous(PlayerWindow w) override { sent.push_back({w, "previous"}); }
    void askToClose(PlayerWindow w) override;
    PlayerState state(PlayerWindow w) override {
        return w != 0 && running ? playerState : PlayerState::Stopped;
    }
    // The list edits act on `list` while the player runs, and are recorded.
    std::optional<QStringList> entries(PlayerWindow w) override;
    bool appendEntries(PlayerWindow w, const QStringList& paths) override;
    bool moveEntry(PlayerWindow w, qint64 from, qint64 to) override;
    bool removeEntry(PlayerWindow w, qint64 index) override;
    bool shuffleEntries(PlayerWindow w, bool shuffle) override;
    void setRepeat(PlayerWindow w, Repeat repeat) override {
        sent.push_back({w, "setRepeat", qint64(repeat)});
    }
    bool launch(const QString& program, const QString& target) override;

    bool running = false;
    bool launchStarts = false; // a launch makes it run
    PlayerWindow window = 4242;
    std::map<QString, qint64> replies;
    PlayerState playerState = PlayerState::Playing;
    QStringList list;
    std::vector<Call> sent;
    // Each launch: the program and the target.
    QList<QStringList> launches;

protected:
    virtual qint64 ask(PlayerWindow w, const QString& verb);
};

} // namespace tarl::test
