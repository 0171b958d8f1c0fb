#include "support/FakePlayerLink.h"

namespace tarl::test {

qint64 FakePlayerLink::ask(PlayerWindow w, const QString& verb) {
    sent.push_back({w, verb});
    if (w == 0 || !running)
        return 0;
    const auto it = replies.find(verb);
    return it == replies.end() ? 0 : it->second;
}

void FakePlayerLink::askToClose(PlayerWindow w) {
    sent.push_back({w, "askToClose"});
    if (w != 0)
        running = false;
}

bool FakePlayerLink::launch(const QString& program, const QString& target) {
    launches << QStringList{program, target};
    if (launchStarts)
        running = true;
    return launchStarts;
}

} // namespace tarl::test
