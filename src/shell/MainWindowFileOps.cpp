#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListMenu.h"
#include "browserui/TrackRowsDrop.h"
#include "dialogs/ScanWindow.h"

#include <QMenu>

// The file commands of the library browser: the track list's menu and the rows dropped on the
// tree, wired to the status bar and the re-scan.
namespace tarl {

void MainWindow::buildFileOperations() {
    const auto setStatus = [this](int panel, const QString& text) { setStatusPanel(panel, text); };
    trackListMenu = new TrackListMenu(state_, *browser, trackList, setStatus, this);
    browser->showTrackListMenu = [this](const QPoint& globalPos) {
        trackListMenu->menu->popup(globalPos);
    };
    trackRowsDrop = new TrackRowsDrop(state_, *browser, treeView, trackList, setStatus, this);
    trackRowsDrop->rescanFolder = [this](const QString& folder) { rescanFolder(folder); };
    trackRowsDrop->scanning = [this] {
        return rescanRunning() || (openedScanWindow && openedScanWindow->busy());
    };
}

} // namespace tarl
