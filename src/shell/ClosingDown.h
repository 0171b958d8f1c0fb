#pragma once

#include <QObject>

class QTimer;
class QWidget;

namespace tarl {

class MainWindow;

// Ends the program as a person would by closing every window (a termination signal: logging out,
// shutting down, Ctrl+C). A running walk or import is asked to stop first: a walk ends at its
// next entry, an import after its current node with its open batch committed. Nothing is closed
// until that work has returned, so no window and no catalog goes away under it. Then, one at a
// time and always from the event loop, the open menu, box or modal dialog is closed as its close
// box would close it (which ends its own event loop and lets its caller go on), then every other
// window, and the main window last: its close saves everything and ends the program.
class ClosingDown : public QObject {
    Q_OBJECT
public:
    explicit ClosingDown(MainWindow& main, QObject* parent = nullptr);

    // Starts closing; again while closing does nothing more.
    void start();
    bool started() const { return started_; }

private:
    void step();

    MainWindow& main_;
    QTimer* timer_;
    bool started_ = false;
};

// Closes a window as its close box would; a dialog that refuses (a box without a cancel button)
// is rejected, and anything still shown is hidden.
void CloseAsItsCloseBox(QWidget* window);

} // namespace tarl
