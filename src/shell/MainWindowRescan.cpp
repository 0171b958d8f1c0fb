#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "dialogs/RenameDialog.h"
#include "dialogs/ScanWindow.h"
#include "dialogs/ScanWindowPacing.h"
#include "platform/Ui.h"
#include "scan/Rescan.h"
#include "shell/LibraryRefresh.h"
#include "state/AppState.h"
#include "state/Version.h"

#include <QCoreApplication>

// The toolbar's re-scan of the selected folder: the walk and import run in scan/Rescan, the
// window shows what they report.
namespace tarl {

void MainWindow::rescanSelected() {
    const TreeNode* node = browser->selectedNode();
    if (!node || node->key.isEmpty())
        return;
    rescanFolder(node->key);
}

void MainWindow::rescanFolder(const QString& folder) {
    if ((openedScanWindow && openedScanWindow->busy()) || rescanning_ || folder.isEmpty())
        return; // one walk or import at a time
    Ui& ui = state_.services.ui;
    ScanWindowPacing pacing([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });

    RescanSteps steps;
    steps.nameCd = [this] {
        RenameDialog dialog(state_, this);
        dialog.renameMode = RenameDialog::NameCd;
        dialog.prompt = QStringLiteral("CD name");
        dialog.currentLabel = state_.currentLabel;
        dialog.goAhead = QStringLiteral("1");
        dialog.load();
        dialog.exec();
        // Cancel leaves both values as they were: the walk goes on under the volume label.
        state_.currentLabel = dialog.currentLabel;
        return dialog.goAhead == QLatin1String("1");
    };
    steps.status = [this, &pacing](int panel, const QString& text) {
        if (panel == 1)
            setStatusPanel(1, text);
        else
            pacing.set(ScanWindowPacing::Panel2, [this, text] { setStatusPanel(2, text); });
    };
    steps.turn = [this, &pacing] {
        pacing.turn();
        return !rescanClosing_;
    };
    steps.walked = [&pacing, &ui](const RescanWalk& walk) {
        pacing.finish();
        if (walk.cdKey)
            ui.message(QStringLiteral("This function not run with CD"),
                       QStringLiteral("Comming soon"), MsgIcon::Exclamation, MsgButtons::Ok);
        for (const QString& failure : walk.purgeFailures)
            ui.message(failure, QString(VersionLabel), MsgIcon::Critical, MsgButtons::Ok);
    };
    steps.importing = [this](bool running) { state_.importRunning = running; };

    rescanning_ = true;
    RescanOptions options;
    if (openedScanWindow)
        options = openedScanWindow->rescanOptions();
    else
        options.formats = SavedSoundFormats(state_.settings);
    const Result<RescanDone> done =
        Rescan({state_.catalog, state_.services.files, state_.services.drives, state_.currentLabel,
                &state_.pathMap},
               state_.pathMap.toLocal(folder), options, steps);
    rescanning_ = false;
    // Closing: the program ends at once, so neither a box nor a rebuilt tree is wanted.
    if (rescanClosing_ || done.value.stopped)
        return;
    pacing.finish();
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
