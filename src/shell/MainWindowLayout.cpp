#include "shell/MainWindow.h"

#include "browserui/TrackListView.h"
#include "player/PlayerPanel.h"
#include "shell/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

// The main window's layout in twips: placing the controls, the splitter and the window's own
// size, place and state as the settings keep them.
namespace tarl {

// ---------------------------------------------------------------------------------------------
// Layout

void MainWindow::resizeMain() {
    MainLayoutInput in;
    in.clientWidth = ToTwips(client_->width());
    in.clientHeight = ToTwips(client_->height());
    in.splitterLeft = splitterLeft_;
    in.statusBarVisible = statusBar_->isVisibleTo(this);
    in.statusBarHeight = ToTwips(statusBar_->sizeHint().height());
    in.currentTreeHeight = ToTwips(treeView_->height());
    in.currentListWidth = ToTwips(trackList_->width());
    in.currentPanelWidth = ToTwips(playerFrame_->width());
    const MainLayoutRects rects = PlanMainLayout(in);
    if (rects.statusBar)
        PlaceInTwips(statusBar_, *rects.statusBar);
    PlaceInTwips(treeView_, rects.tree);
    PlaceInTwips(trackList_, rects.list);
    PlaceInTwips(splitterBar_, rects.splitter);
    PlaceInTwips(toolBar_, rects.toolbar);
    PlaceInTwips(playerFrame_, rects.panel);
}

void MainWindow::windowResized() {
    if (resizeSuspended_)
        return;
    resizeMain();
    // Minimised, the window lives on in the tray; without a tray it stays in the task bar.
    if (isMinimized() && hooks_.trayIconVisible && hooks_.trayIconVisible())
        hide();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    windowResized();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        windowResized();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == splitterBar_)
        divisorH_Mouse(event);
    if (watched == nowPlayingDisplay_)
        displayMouse(event);
    for (size_t i = 0; i < panelButtons_.size(); ++i) {
        if (watched == panelButtons_[i] && panel_ && panelButtonMouse(int(i), event))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::divisorH_Mouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        splitterDragging_ = true;
        splitterLastX_ = -1;
        break;
    case QEvent::MouseButtonRelease:
        splitterDragging_ = false;
        break;
    case QEvent::MouseMove: {
        if (!splitterDragging_)
            break;
        const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
        if (x == splitterLastX_)
            break;
        splitterLastX_ = x;
        splitterLeft_ = DraggedSplitterLeft(splitterLeft_, ToTwips(x), ToTwips(client_->width()));
        resizeMain();
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Geometry in twips

int MainWindow::windowStateValue() const {
    if (windowState() & Qt::WindowMinimized)
        return StateMinimised;
    if (windowState() & Qt::WindowMaximized)
        return StateMaximised;
    return StateNormal;
}

void MainWindow::setWindowStateValue(int value) {
    switch (value) {
    case StateMinimised:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case StateMaximised:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    }
}

// The twips last applied are answered while the window still has the pixel size they gave,
// so settings read back exactly what was stored (11000 twips are 733.3 pixels).
double MainWindow::twipsOr(double cached, int pixels) const {
    return ToPixels(cached) == pixels ? cached : ToTwips(pixels);
}

double MainWindow::left() const {
    return twipsOr(twips_.left, x());
}
double MainWindow::top() const {
    return twipsOr(twips_.top, y());
}
double MainWindow::width() const {
    return twipsOr(twips_.width, QMainWindow::width());
}
double MainWindow::height() const {
    return twipsOr(twips_.height, QMainWindow::height());
}
void MainWindow::setLeft(double twips) {
    twips_.left = twips;
    move(ToPixels(twips), y());
}
void MainWindow::setTop(double twips) {
    twips_.top = twips;
    move(x(), ToPixels(twips));
}
void MainWindow::setWidth(double twips) {
    twips_.width = twips;
    resize(std::max(1, ToPixels(twips)), QMainWindow::height());
}
void MainWindow::setHeight(double twips) {
    twips_.height = twips;
    resize(QMainWindow::width(), std::max(1, ToPixels(twips)));
}
double MainWindow::splitterLeft() const {
    return splitterLeft_;
}
void MainWindow::setSplitterLeft(double twips) {
    splitterLeft_ = twips;
}
void MainWindow::setResizeSuspended(bool suspended) {
    resizeSuspended_ = suspended;
}
void MainWindow::runResize() {
    resizeMain();
}

} // namespace tarl
