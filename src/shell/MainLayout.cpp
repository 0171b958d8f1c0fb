#include "shell/Main.h"

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

void Main::resizeMain() {
    MainLayoutInput in;
    in.clientWidth = ToTwips(client_->width());
    in.clientHeight = ToTwips(client_->height());
    in.splitterLeft = splitterLeft_;
    in.statusBarVisible = statusBar->isVisibleTo(this);
    in.statusBarHeight = ToTwips(statusBar->sizeHint().height());
    in.currentTreeHeight = ToTwips(treeView->height());
    in.currentListWidth = ToTwips(trackList->width());
    in.currentPanelWidth = ToTwips(playerFrame->width());
    const MainLayoutRects rects = PlanMainLayout(in);
    if (rects.statusBar)
        PlaceInTwips(statusBar, *rects.statusBar);
    PlaceInTwips(treeView, rects.tree);
    PlaceInTwips(trackList, rects.list);
    PlaceInTwips(splitterBar, rects.splitter);
    PlaceInTwips(toolBar, rects.toolbar);
    PlaceInTwips(playerFrame, rects.panel);
}

void Main::windowResized() {
    if (resizeSuspended_)
        return;
    resizeMain();
    // Minimised, the window lives on in the tray; without a tray it stays in the task bar.
    if (isMinimized() && hooks_.trayIconVisible && hooks_.trayIconVisible())
        hide();
}

void Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    windowResized();
}

void Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        windowResized();
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == splitterBar)
        divisorH_Mouse(event);
    if (watched == nowPlayingDisplay)
        displayMouse(event);
    for (size_t i = 0; i < panelButtons.size(); ++i) {
        if (watched == panelButtons[i] && panel_ && panelButtonMouse(int(i), event))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main::divisorH_Mouse(QEvent* event) {
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

int Main::windowStateValue() const {
    if (windowState() & Qt::WindowMinimized)
        return StateMinimised;
    if (windowState() & Qt::WindowMaximized)
        return StateMaximised;
    return StateNormal;
}

void Main::setWindowStateValue(int value) {
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
double Main::twipsOr(double cached, int pixels) const {
    return ToPixels(cached) == pixels ? cached : ToTwips(pixels);
}

double Main::left() const {
    return twipsOr(twips_.left, x());
}
double Main::top() const {
    return twipsOr(twips_.top, y());
}
double Main::width() const {
    return twipsOr(twips_.width, QMainWindow::width());
}
double Main::height() const {
    return twipsOr(twips_.height, QMainWindow::height());
}
void Main::setLeft(double twips) {
    twips_.left = twips;
    move(ToPixels(twips), y());
}
void Main::setTop(double twips) {
    twips_.top = twips;
    move(x(), ToPixels(twips));
}
void Main::setWidth(double twips) {
    twips_.width = twips;
    resize(std::max(1, ToPixels(twips)), QMainWindow::height());
}
void Main::setHeight(double twips) {
    twips_.height = twips;
    resize(QMainWindow::width(), std::max(1, ToPixels(twips)));
}
double Main::splitterLeft() const {
    return splitterLeft_;
}
void Main::setSplitterLeft(double twips) {
    splitterLeft_ = twips;
}
void Main::setResizeSuspended(bool suspended) {
    resizeSuspended_ = suspended;
}
void Main::runResize() {
    resizeMain();
}

} // namespace tarl
