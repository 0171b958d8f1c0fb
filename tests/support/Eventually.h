#pragma once

#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace tarl::test {

// Polls `done` every 10 ms until it holds or `ms` pass: for what another process does in its
// own time (a player taking an entry, a value it pushes).
inline bool Eventually(const std::function<bool()>& done, int ms = 5000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace tarl::test
