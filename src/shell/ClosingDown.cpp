#include "shell/ClosingDown.h"

#include "dialogs/ScanWindow.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace tarl {

namespace {
// Often enough to close a stack of boxes at once to the eye; each step runs between two turns
// of the event loop, after the window closed by the step before has left its own loop.
constexpr int kStepMs = 10;
} // namespace

void CloseAsItsCloseBox(QWidget* window) {
    window->close();
    if (!window->isVisible())
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    if (window->isVisible())
        window->hide();
}

ClosingDown::ClosingDown(MainWindow& main, QObject* parent)
    : QObject(parent), main_(main), timer_(new QTimer(this)) {
    timer_->setInterval(kStepMs);
    connect(timer_, &QTimer::timeout, this, &ClosingDown::step);
}

void ClosingDown::start() {
    if (started_)
        return;
    started_ = true;
    main_.stopWorkForClose();
    timer_->start();
    step();
}

void ClosingDown::step() {
    // A menu or a box opened during a walk or import runs its event loop above the handler that
    // waits for the work: those close first, so the handler can return once the work has. The
    // scan window itself closes then, at its next turn of the event loop.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    const bool busy = main_.workRunning();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !(busy && main_.isScanWindow(modal))) {
        CloseAsItsCloseBox(modal);
        return;
    }
    if (busy)
        return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &main_ && window->isVisible()) {
            CloseAsItsCloseBox(window);
            return;
        }
    }
    // Its close saves everything and ends the program; a box it shows on the way (settings that
    // could not be saved) is closed by a step run from that box's own event loop.
    main_.close();
    // A main window living in the tray (hidden) still saves and ends the program.
    if (!main_.unloaded())
        main_.shutDown();
    timer_->stop();
}

} // namespace tarl
