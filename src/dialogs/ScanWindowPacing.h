#pragma once

#include <QElapsedTimer>
#include <array>
#include <functional>

namespace tarl {

// How often the scan window shows what its walk and import report. They report a folder, a file
// or a node every few microseconds, far more often than a person can see, and every shown value
// is a redraw (the progress bar, the status panels, the folder in pathScan). The pacing keeps the
// newest value of each kind and shows them together at most every `showEveryMs` (the first at
// once), and runs the event loop at most every `turnEveryMs`, so the window still repaints and
// answers its STOP button between two shows. finish() shows what is still pending, so the last
// value always reaches the screen.
class ScanWindowPacing {
public:
    enum Kind { Progress, Panel1, Panel2, Folder, KindCount };

    explicit ScanWindowPacing(std::function<void()> runEvents, int showEveryMs = 50,
                              int turnEveryMs = 10);

    // Keeps `show` as the newest value of `kind`, replacing one not shown yet; shows everything
    // pending when a show is due.
    void set(Kind kind, std::function<void()> show);
    // After each step of the work: shows what is pending when due, runs the event loop when due.
    void turn();
    // Shows everything pending now.
    void finish();
    // Forgets what is pending (the window put its own values back).
    void discard();

private:
    // True (and `last` set to now) when `everyMs` passed since `last`, or nothing was done yet.
    bool due(qint64& last, int everyMs) const;
    bool pending() const;
    void show();

    std::function<void()> runEvents_;
    int showEveryMs_;
    int turnEveryMs_;
    QElapsedTimer clock_;
    std::array<std::function<void()>, KindCount> pending_;
    qint64 lastShow_ = -1; // never yet
    qint64 lastTurn_ = -1;
};

} // namespace tarl
