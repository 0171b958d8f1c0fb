#include "shell/MainWindow.h"

#include "browserui/TrackListView.h"
#include "shell/TrayIcon.h"
#include "shell/Twips.h"
#include "state/AppState.h"
#include "state/MainLayoutPlan.h"
#include "state/ScreenPlacement.h"
#include "state/WindowPlacement.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

#include <vector>

// The main window's two faces: the full layout, and the compact one that keeps the player panel
// in a borderless window, the track list folded away or unfolded below it. Each layout keeps its
// own place in the settings; switching saves the one left and reads the one entered. Also what
// keeps the window reachable: on a screen, and hidden to the tray only where a tray exists.
namespace tarl {

void MainWindow::compactClicked() {
    if (state_.visualMode == 0) {
        // Reading the compact place reads miniPlaylist too; the entry follows the value before.
        const bool unfolded = state_.miniPlaylist;
        SaveMainPlacement(state_, *this);
        LoadMiniPlacement(state_, *this);
        state_.visualMode = unfolded ? 2 : 1;
    } else {
        state_.miniPlaylist = state_.visualMode == 2;
        SaveMiniPlacement(state_, *this);
        LoadMainPlacement(state_, *this);
        state_.visualMode = 0;
    }
    applyVisualMode();
}

void MainWindow::enterStoredLayout() {
    // A mode this program never writes is taken as the full layout, which shows everything.
    if (state_.visualMode != 1 && state_.visualMode != 2) {
        state_.visualMode = 0;
        return;
    }
    LoadMiniPlacement(state_, *this);
    applyVisualMode();
}

void MainWindow::applyVisualMode() {
    setResizeSuspended(true);
    compactShown_ = state_.visualMode > 0;
    if (compactShown_) {
        setFullChromeVisible(false);
        if (windowStateValue() != StateMaximised) {
            if (state_.visualMode == 1)
                setHeight(ToTwips(nowPlayingDisplay_->mapTo(client_, QPoint()).y()) +
                          CompactEntryBelowDisplay);
            else
                foldTrackList(2);
            setWidth(CompactWidth(ToTwips(nowPlayingDisplay_->width())));
        }
        // The panel starts at the window's left edge; the tree has no room.
        splitterLeft_ = 0;
        setBorderless(true);
    } else {
        setBorderless(false);
        setFullChromeVisible(true);
    }
    setResizeSuspended(false);
    resizeMain();
    keepOnScreen();
}

void MainWindow::buildTrayIcon() {
    trayIcon_ = new TrayIcon(this);
    hooks_.showTrayIcon = [this] { trayIcon_->showTrayIcon(); };
    hooks_.removeTrayIcon = [this] { trayIcon_->remove(); };
    hooks_.trayIconVisible = [this] { return trayIcon_->visible(); };
    hooks_.setTrayTip = [this](const QString& tip) {
        trayIcon_->setTrayTip(tip);
        trayIcon_->setSong(tip);
    };
    connect(trayIcon_, &TrayIcon::leftClicked, this, &MainWindow::trayIconClicked);
}

void MainWindow::trayIconClicked() {
    if (isMinimized() || !isVisible()) {
        showNormal();
        raise();
        activateWindow();
        return;
    }
    showMinimized();
    // Without a tray the task bar keeps the minimised window; hidden, it could not be found.
    if (hooks_.trayIconVisible && hooks_.trayIconVisible())
        hide();
}

void MainWindow::keepOnScreen() {
    if (windowStateValue() != StateNormal)
        return;
    std::vector<TwipsRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        screens.push_back(
            {ToTwips(r.x()), ToTwips(r.y()), ToTwips(r.width()), ToTwips(r.height())});
    }
    const TwipsRect placed = KeptOnScreen({left(), top(), width(), height()}, screens);
    if (placed.left != left())
        setLeft(placed.left);
    if (placed.top != top())
        setTop(placed.top);
}

void MainWindow::foldTrackList(int mode) {
    if (windowStateValue() != StateNormal)
        return;
    if (mode == 2) {
        const CompactHeights heights = UnfoldedCompactHeights(trackList_->model()->rowCount());
        setHeight(heights.window);
        trackList_->resize(trackList_->width(), ToPixels(heights.list));
        return;
    }
    setHeight(ToTwips(nowPlayingDisplay_->mapTo(client_, QPoint()).y()) + CompactFoldBelowDisplay);
}

void MainWindow::displayMouseDown(Qt::MouseButton button) {
    if (button != Qt::LeftButton || state_.visualMode == 0)
        return;
    state_.visualMode = state_.visualMode == 1 ? 2 : 1;
    foldTrackList(state_.visualMode);
}

void MainWindow::displayDoubleClicked() {
    if (state_.visualMode != 0)
        return;
    splitterLeft_ = width() / 4;
    resizeMain();
}

// In the compact layout the window has no title bar: a drag on the display moves it. So that a
// drag does not fold or unfold the list too, the fold waits for the press to end where it began.
void MainWindow::displayMouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (state_.visualMode == 0 || mouse->button() != Qt::LeftButton) {
            displayMouseDown(mouse->button());
            break;
        }
        displayPress_ = DisplayPress{mouse->globalPosition().toPoint(), pos(), false};
        break;
    }
    case QEvent::MouseMove: {
        if (!displayPress_)
            break;
        const QPoint moved =
            static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - displayPress_->from;
        if (!displayPress_->dragging && moved.manhattanLength() < QApplication::startDragDistance())
            break;
        if (!displayPress_->dragging) {
            displayPress_->dragging = true;
            // The window manager moves it where it can (Wayland allows no other way).
            if (windowHandle() && windowHandle()->startSystemMove()) {
                displayPress_.reset();
                break;
            }
        }
        move(displayPress_->windowAt + moved);
        twips_.left = ToTwips(x());
        twips_.top = ToTwips(y());
        break;
    }
    case QEvent::MouseButtonRelease: {
        const bool clicked = displayPress_ && !displayPress_->dragging;
        displayPress_.reset();
        if (clicked)
            displayMouseDown(static_cast<QMouseEvent*>(event)->button());
        break;
    }
    case QEvent::MouseButtonDblClick:
        displayDoubleClicked();
        break;
    default:
        break;
    }
}

void MainWindow::setFullChromeVisible(bool visible) {
    toolBar_->setVisible(visible);
    statusBar_->setVisible(visible);
    for (QMenu* menu :
         {fileMenu_, viewMenu_, propertiesMenu_, helpMenu_, favoritesMenu_, historyMenu_})
        menu->menuAction()->setVisible(visible);
    menuBar()->setVisible(visible);
}

void MainWindow::setBorderless(bool borderless) {
    if (windowFlags().testFlag(Qt::FramelessWindowHint) == borderless)
        return;
    // Changing the frame hides a shown window; it comes back at the same place.
    const bool shown = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, borderless);
    if (shown)
        show();
}

} // namespace tarl
