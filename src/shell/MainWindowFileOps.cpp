#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListMenu.h"
#include "browserui/TrackListPlaylists.h"
#include "browserui/TrackRowsDrop.h"
#include "dialogs/ScanWindow.h"

#include <QMenu>

// The file commands of the library browser: the track list's menu and the rows dropped on the
// tree, wired to the status bar, the re-scan and (a playlist filed) the tree built again.
namespace tarl {

void MainWindow::buildFileOperations() {
    const auto setStatus = [this](int panel, const QString& text) { setStatusPanel(panel, text); };
    trackListMenu_ = new TrackListMenu(state_, *browser_, trackList_, setStatus, this);
    trackListMenu_->playlists->playlistFiled = [this] { refreshFromCatalog(); };
    browser_->showTrackListMenu = [this](const QPoint& globalPos) {
        trackListMenu_->menu->popup(globalPos);
    };
    trackRowsDrop_ = new TrackRowsDrop(state_, *browser_, treeView_, trackList_, setStatus, this);
    trackRowsDrop_->rescanFolder = [this](const QString& folder) { rescanFolder(folder); };
    trackRowsDrop_->scanning = [this] {
        return rescanRunning() || (openedScanWindow_ && openedScanWindow_->busy());
    };
}

} // namespace tarl
