#pragma once

#include "text/Result.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace tarl {

struct Catalog;

// What long work reports for a window to show: a folder, a file or a node every few
// microseconds, far more often than a person can see, and each shown value is a redraw (the
// progress bar, the status panels, the folder in the path box). The newest value of each kind is
// kept, from any thread; the window's thread shows them together at most every `showEveryMs`
// (the first at once) and, at the end, shows what is still pending or forgets it.
class ScanReports {
public:
    enum Kind { Progress, Panel1, Panel2, Folder, KindCount };

    explicit ScanReports(int showEveryMs = 50) : showEveryMs_(showEveryMs) { clock_.start(); }

    // Any thread: keeps `show` as the newest value of `kind`, replacing one not shown yet. It is
    // run on the window's thread, so it may touch widgets. Ignored while closed.
    void set(Kind kind, std::function<void()> show);
    // Takes values again (open) or forgets what is pending and takes nothing until opened again
    // (closed: a stopped walk must not show a folder over the window's own values).
    void setOpen(bool open);
    // The window's thread: shows what is pending when a show is due.
    void showWhenDue();
    // The window's thread: shows everything pending now.
    void showNow();
    // Forgets what is pending (the window put its own values back).
    void discard();

private:
    std::array<std::function<void()>, KindCount> take();

    const int showEveryMs_;
    QElapsedTimer clock_;
    qint64 lastShow_ = -1; // never yet; the window's thread only
    std::mutex mutex_;
    std::array<std::function<void()>, KindCount> pending_;
    bool open_ = true;
};

// Runs a walk, an import or a re-scan on a thread of its own, so the window keeps painting and
// taking clicks however long the work takes. run() returns once the work has ended, as a modal
// dialog's exec() does: meanwhile the calling thread's event loop runs and shows what the work
// reports (reports()). stop() asks the work to end; the work looks at stopRequested() between
// its steps (a walk at its next entry, an import after its current node, its open batch
// committed). Destroying the worker stops the work and waits for it.
class ScanWorker : public QObject {
public:
    explicit ScanWorker(QObject* parent = nullptr);
    ~ScanWorker() override;

    // Runs `work` on the worker's thread and returns when it has returned. One at a time: false,
    // with nothing run, while another is running.
    bool run(const std::function<void()>& work);
    // What the work reports from here on is not shown.
    void stop();
    // Any thread.
    bool stopRequested() const { return stopRequested_; }
    bool running() const { return running_; }
    ScanReports& reports() { return reports_; }

private:
    QThread thread_;
    QObject* context_ = nullptr; // lives on thread_; work is queued to it
    std::atomic<bool> stopRequested_{false};
    bool running_ = false;
    ScanReports reports_;
};

// On the worker's thread: a connection of its own to the catalog `catalogAddress` names (a
// file or a server address, as Connection::fileName() gives it), or why not. Closed on the same
// thread when the value goes.
Result<std::unique_ptr<Catalog>> OpenCatalogConnection(const QString& catalogAddress);

} // namespace tarl
