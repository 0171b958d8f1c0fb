#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "dialogs/RenameDialog.h"
#include "dialogs/ScanWindow.h"
#include "platform/Ui.h"
#include "platform/VolumeLabelText.h"
#include "scan/Rescan.h"
#include "scan/ScanWorker.h"
#include "shell/LibraryRefresh.h"
#include "state/AppState.h"
#include "state/Version.h"
#include "text/PathText.h"

#include <QMetaObject>
#include <optional>

// The toolbar's re-scan of the selected folder: the walk and import run in scan/Rescan on a
// worker with a catalog connection of its own; the window asks, shows and waits.
namespace tarl {

namespace {

// The CD-name question, asked before the walk as the scan window asks it: the name given (or
// the disc's label when cancelled) and whether the walk may run.
struct CdName {
    QString label;
    bool goAhead = true;
};

// Asked on the window's thread before the worker starts; nothing for a folder on no CD.
std::optional<CdName> AskCdName(AppState& state, QWidget* parent, const QString& localFolder) {
    const Drives& drives = state.services.drives;
    if (DiscSeparatorIn(localFolder) >= 0 || !IsCdDrive(localFolder, drives))
        return std::nullopt;
    RenameDialog dialog(state, parent);
    dialog.renameMode = RenameDialog::NameCd;
    dialog.prompt = QStringLiteral("CD name");
    dialog.currentLabel = VolumeLabelOf(drives, localFolder);
    dialog.goAhead = QStringLiteral("1");
    dialog.load();
    dialog.exec();
    // Cancel leaves both values as they were: the walk goes on under the volume label.
    return CdName{dialog.currentLabel, dialog.goAhead == QLatin1String("1")};
}

// The boxes of a walk: a CD key refused, playlists that could not be purged.
void ShowWalkBoxes(Ui& ui, const RescanWalk& walk) {
    if (walk.cdKey)
        ui.message(QStringLiteral("This function not run with CD"), QStringLiteral("Comming soon"),
                   MsgIcon::Exclamation, MsgButtons::Ok);
    for (const QString& failure : walk.purgeFailures)
        ui.message(failure, QString(VersionLabel), MsgIcon::Critical, MsgButtons::Ok);
}

// How the re-scan on the worker reaches the window: its status panels by reports, the CD name
// asked before, the walk's boxes shown before the import (the worker waits for them).
RescanSteps StepsOnTheWorker(MainWindow& window, ScanWorker& worker, Ui& ui,
                             const std::optional<CdName>& cdName, QString& label) {
    ScanReports& reports = worker.reports();
    RescanSteps steps;
    steps.nameCd = [&cdName, &label] {
        label = cdName ? cdName->label : label;
        return !cdName || cdName->goAhead;
    };
    steps.status = [&window, &reports](int panel, const QString& text) {
        reports.set(panel == 1 ? ScanReports::Panel1 : ScanReports::Panel2,
                    [&window, panel, text] { window.setStatusPanel(panel, text); });
    };
    steps.turn = [&worker] { return !worker.stopRequested(); };
    steps.importing = [&window, &reports](bool running) {
        if (running)
            reports.set(ScanReports::Panel2, [&window] {
                window.setStatusPanel(2, QStringLiteral("Backing up the catalog..."));
            });
    };
    steps.walked = [&window, &reports, &ui](const RescanWalk& walk) {
        QMetaObject::invokeMethod(
            &window,
            [&] {
                reports.showNow();
                ShowWalkBoxes(ui, walk);
            },
            Qt::BlockingQueuedConnection);
    };
    return steps;
}

} // namespace

void MainWindow::rescanSelected() {
    const TreeNode* node = browser_->selectedNode();
    if (!node || node->key.isEmpty())
        return;
    rescanFolder(node->key);
}

void MainWindow::stopRescanForClose() {
    rescanClosing_ = true;
    if (rescanWorker_)
        rescanWorker_->stop();
}

void MainWindow::rescanFolder(const QString& folder) {
    if ((openedScanWindow_ && openedScanWindow_->busy()) || rescanning_ || folder.isEmpty())
        return; // one walk or import at a time
    Ui& ui = state_.services.ui;
    const QString localFolder = state_.pathMap.toLocal(folder);
    const Drives& drives = state_.services.drives;
    // The question needs the window's thread: asked first, answered to the worker's walk.
    const std::optional<CdName> cdName = AskCdName(state_, this, localFolder);
    if (rescanClosing_)
        return;

    ScanWorker worker;
    ScanReports& reports = worker.reports();
    QString label = state_.currentLabel;
    const RescanSteps steps = StepsOnTheWorker(*this, worker, ui, cdName, label);

    RescanOptions options;
    if (openedScanWindow_)
        options = openedScanWindow_->rescanOptions();
    else
        options.formats = SavedSoundFormats(state_.settings);
    const QString catalogAddress = state_.catalog.connection.fileName();
    const Files& files = state_.services.files;
    const PathMap pathMap = state_.pathMap;
    Result<RescanDone> done;
    rescanning_ = true;
    rescanWorker_ = &worker;
    // Meanwhile the catalog must not be closed or changed under the import.
    state_.importRunning = true;
    worker.run([&] {
        Result<std::unique_ptr<Catalog>> opened = OpenCatalogConnection(catalogAddress);
        if (!opened) {
            done = Result<RescanDone>::failed(opened.error);
            return;
        }
        done = Rescan({*opened.value, files, drives, label, &pathMap}, localFolder, options, steps);
    });
    state_.importRunning = false;
    rescanWorker_ = nullptr;
    rescanning_ = false;
    state_.currentLabel = label;
    // Closing: the program ends at once, so neither a box nor a rebuilt tree is wanted.
    if (rescanClosing_ || done.value.stopped) {
        reports.discard();
        return;
    }
    reports.showNow();
    if (done)
        ui.message(QStringLiteral("Updated Data Base"), QStringLiteral("Data Base"),
                   MsgIcon::Information, MsgButtons::Ok);
    else
        ui.message(done.error, QStringLiteral("Data Base"), MsgIcon::Critical, MsgButtons::Ok);
    setStatusPanel(2, QString());
    setStatusPanel(1, done.value.backupFailure);
    refreshFromCatalog();
}

} // namespace tarl
