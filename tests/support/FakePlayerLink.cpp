#include "support/FakePlayerLink.h"

#include <algorithm>

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

std::optional<QStringList> FakePlayerLink::entries(PlayerWindow w) {
    if (w == 0 || !running)
        return std::nullopt;
    return list;
}

bool FakePlayerLink::appendEntries(PlayerWindow w, const QStringList& paths) {
    sent.push_back({w, "appendEntries", paths.size()});
    if (w == 0 || !running)
        return false;
    list += paths;
    return true;
}

bool FakePlayerLink::moveEntry(PlayerWindow w, qint64 from, qint64 to) {
    sent.push_back({w, "moveEntry", from * 1000 + to});
    if (w == 0 || !running || from >= list.size() || to >= list.size())
        return false;
    list.move(from, to);
    return true;
}

bool FakePlayerLink::removeEntry(PlayerWindow w, qint64 index) {
    sent.push_back({w, "removeEntry", index});
    if (w == 0 || !running || index >= list.size())
        return false;
    list.removeAt(index);
    return true;
}

bool FakePlayerLink::shuffleEntries(PlayerWindow w, bool shuffle) {
    sent.push_back({w, "shuffleEntries", shuffle});
    if (w == 0 || !running)
        return false;
    std::reverse(list.begin(), list.end()); // an order that is plainly another
    return true;
}

bool FakePlayerLink::launch(const QString& program, const QString& target) {
    launches << QStringList{program, target};
    if (launchStarts)
        running = true;
    return launchStarts;
}

} // namespace tarl::test
