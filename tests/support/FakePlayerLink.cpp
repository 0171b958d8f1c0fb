#include "support/FakePlayerLink.h"

namespace tarl::test {

qint64 FakePlayerLink::sendMessage(PlayerWindow w, int message, qint64 wParam, qint64 lParam) {
    sent.push_back({w, message, wParam, lParam, false});
    if (w == 0 || !running)
        return 0;
    const auto it = replies.find({message, lParam});
    return it == replies.end() ? 0 : it->second;
}

void FakePlayerLink::postMessage(PlayerWindow w, int message, qint64 wParam, qint64 lParam) {
    sent.push_back({w, message, wParam, lParam, true});
    if (w != 0 && message == player_msg::WmClose)
        running = false;
}

bool FakePlayerLink::launch(const QString& commandLine) {
    launches << commandLine;
    if (launchStarts)
        running = true;
    return launchStarts;
}

} // namespace tarl::test
