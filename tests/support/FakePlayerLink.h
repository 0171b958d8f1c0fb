#pragma once

#include "platform/PlayerLink.h"

#include <QStringList>
#include <map>
#include <vector>

namespace tarl::test {

// A player that records what it is sent. `running` decides whether it is found; answers to
// requests come from `replies` keyed by (message, lParam).
class FakePlayerLink : public PlayerLink {
public:
    struct Message {
        PlayerWindow window;
        int message;
        qint64 wParam;
        qint64 lParam;
        bool posted;
        bool operator==(const Message&) const = default;
    };

    PlayerWindow findWindow() override { return running ? window : 0; }
    qint64 sendMessage(PlayerWindow w, int message, qint64 wParam, qint64 lParam) override;
    void postMessage(PlayerWindow w, int message, qint64 wParam, qint64 lParam) override;
    bool launch(const QString& commandLine) override;

    bool running = false;
    bool launchStarts = false; // a launch makes it run
    PlayerWindow window = 4242;
    std::map<std::pair<int, qint64>, qint64> replies;
    std::vector<Message> sent;
    QStringList launches;
};

} // namespace tarl::test
