#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarl {

class ClosingDown;
class MainWindow;

// SIGTERM and SIGINT (logging out, shutting down, Ctrl+C in a terminal) close every window as
// its close box does, the main window last, so everything is saved on the way out and the
// program ends even while a box or the scan window is open (ClosingDown). The handler only
// writes to a pipe; the windows are closed from the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(MainWindow* window, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void onSignal();

    ClosingDown* closing_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarl
