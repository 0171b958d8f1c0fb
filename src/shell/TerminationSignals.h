#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace tarl {

// SIGTERM and SIGINT (logging out, Ctrl+C in a terminal) close the given window as its close
// box does, so everything is saved on the way out. The handler only writes to a pipe; the
// window is closed from the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QWidget* window, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void onSignal();

    QWidget* window_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarl
