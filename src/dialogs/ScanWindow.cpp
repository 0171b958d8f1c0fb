#include "dialogs/ScanWindow.h"

#include "browser/TreeBuild.h"
#include "browser/TreeIcons.h"
#include "browser/TreeImage.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "desktop/IconLabel.h"
#include "dialogs/RenameDialog.h"
#include "dialogs/ScanWindowMenu.h"
#include "platform/Ui.h"
#include "scan/PurgeDuplicateM3u.h"
#include "scan/Rescan.h"
#include "scan/ScanImport.h"
#include "scan/ScanTreeModel.h"
#include "scan/ScanWalker.h"
#include "scan/ScanWorker.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "state/SettingKeys.h"
#include "state/Twips.h"
#include "state/Version.h"
#include "text/PathText.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarl {

namespace {
const QString ScanCaption = QStringLiteral("&SCAN");
const QString StopCaption = QStringLiteral("&STOP");
const QString ProgramTitle = QString(VersionLabel);
constexpr int ShortHeight = 2500;
constexpr int TallHeight = 8000;
// The scan menu opens this far right of and below the pointer, as it always did.
const QPoint MenuOffset(int(400 / TwipsPerPixel), int(1000 / TwipsPerPixel));

// The scan tree's pictures drawn with the library tree's, as is the CD shown in drivePicture.
QVariant scanPicture(int picture) {
    switch (picture) {
    case ScanPicture::Folder:
        return TreeIcons::icon(TreeImage::Folder);
    case ScanPicture::Playlist:
        return TreeIcons::icon(TreeImage::Playlist);
    case ScanPicture::SoundFile:
        return TreeIcons::icon(TreeImage::TrackFolder);
    default:
        return {};
    }
}
} // namespace

ScanWindow::ScanWindow(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), worker_(std::make_unique<ScanWorker>()) {
    setWindowTitle(QStringLiteral("Scan Drive"));
    setObjectName(QStringLiteral("ScanWindow"));
    setModal(true);
    setMouseTracking(true);
    hooks.runRename = [](RenameDialog& dialog) { dialog.exec(); };
    scanMenu = new ScanWindowMenu(state_, *this);
    hooks.popupScanMenu = [this](ScanNode& node, const QPoint& at) { scanMenu->popup(node, at); };
    buildControls();
    load();
}

// The worker goes first (a member declared last): it stops and waits for its work, which reads
// the tree.
ScanWindow::~ScanWindow() = default;

void ScanWindow::buildControls() {
    pathScan = new QLineEdit(QStringLiteral("/"), this); // the root drive, as "C:\" was
    pathScan->setObjectName(QStringLiteral("pathScan"));
    drivePicture = new IconLabel(this);
    drivePicture->setObjectName(QStringLiteral("drivePicture"));
    drivePicture->setIcon(TreeIcons::icon(TreeImage::Folder), QSize(24, 24));
    drivePicture->setCursor(Qt::PointingHandCursor);
    drivePicture->installEventFilter(this);
    discLabel = new QLabel(this);
    discLabel->setObjectName(QStringLiteral("discLabel"));

    const QStringList options{QStringLiteral("Playlist files"), QStringLiteral("Sound files"),
                              QStringLiteral("All files")};
    for (int i = 0; i < 3; ++i) {
        collectOptions[i] = new QRadioButton(options[i], this);
        collectOptions[i]->setMouseTracking(true);
        collectOptions[i]->installEventFilter(this);
    }
    const QStringList kinds{QStringLiteral("Mp3"),  QStringLiteral("Wav"), QStringLiteral("Wma"),
                            QStringLiteral("Flac"), QStringLiteral("Ogg"), QStringLiteral("M4a"),
                            QStringLiteral("M3u")};
    const SoundFormats saved = SavedSoundFormats(state_.settings);
    for (size_t i = 0; i < formatChecks.size(); ++i) {
        formatChecks[i] = new QCheckBox(kinds[int(i)], this);
        const bool sound = i < std::size(SoundFormatOrder);
        formatChecks[i]->setChecked(sound && saved.has(SoundFormatOrder[i]));
        // The sound formats are kept for the next scan, here or from the library tree.
        if (sound)
            connect(formatChecks[i], &QCheckBox::toggled, this, [this] {
                state_.settings.write(keys::ScanFormats, rescanOptions().formats.keys());
            });
    }
    subfoldersCheck = new QCheckBox(QStringLiteral("Scan Su&bdirectories"), this);
    subfoldersCheck->setChecked(true);
    depthEdit = new QLineEdit(QStringLiteral("2"), this);
    depthEdit->setObjectName(QStringLiteral("depthEdit"));
    depthEdit->setMaximumWidth(40);

    scanButton = new QPushButton(ScanCaption, this);
    addToCatalogButton = new QPushButton(QStringLiteral("&Add to DataBase"), this);
    cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    clearScanButton = new QLabel(QStringLiteral("Clear Scan"), this);
    clearScanButton->setObjectName(QStringLiteral("clearScanButton"));
    clearScanButton->setCursor(Qt::PointingHandCursor);
    clearScanButton->setMouseTracking(true);
    clearScanButton->installEventFilter(this);
    connect(scanButton, &QPushButton::clicked, this, &ScanWindow::scanClicked);
    connect(addToCatalogButton, &QPushButton::clicked, this, &ScanWindow::addToCatalogClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ScanWindow::cancelClicked);

    progressBar = new QProgressBar(this);
    progressBar->setValue(0);

    model_ = new ScanTreeModel(tree_, this);
    model_->setPictures(scanPicture);
    scanTreeView = new QTreeView(this);
    scanTreeView->setObjectName(QStringLiteral("scanTreeView"));
    scanTreeView->setModel(model_);
    scanTreeView->header()->hide();
    scanTreeView->setUniformRowHeights(true);
    scanTreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(scanTreeView, &QTreeView::customContextMenuRequested, this,
            &ScanWindow::scanTreeMouseDown);
    connect(scanTreeView, &QTreeView::doubleClicked, this, &ScanWindow::scanTreeDoubleClicked);

    auto* path = new QHBoxLayout;
    path->addWidget(drivePicture);
    path->addWidget(pathScan, 1);
    path->addWidget(discLabel);
    auto* choices = new QGridLayout;
    for (int i = 0; i < 3; ++i)
        choices->addWidget(collectOptions[i], 0, i);
    for (int i = 0; i < int(formatChecks.size()); ++i)
        choices->addWidget(formatChecks[size_t(i)], 1 + i / 4, i % 4);
    choices->addWidget(subfoldersCheck, 3, 0, 1, 2);
    auto* depth = new QHBoxLayout;
    depth->addWidget(new QLabel(QStringLiteral("Folder profundity"), this));
    depth->addWidget(depthEdit);
    choices->addLayout(depth, 3, 2, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(scanButton);
    buttons->addWidget(addToCatalogButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    buttons->addWidget(clearScanButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(path);
    layout->addLayout(choices);
    layout->addLayout(buttons);
    layout->addWidget(progressBar);
    layout->addWidget(scanTreeView, 1);
    setMinimumHeight(0);
}

void ScanWindow::load() {
    collectOptions[1]->setChecked(true);
    setHeightTwips(ShortHeight);
}

int ScanWindow::heightTwips() const {
    return static_cast<int>(ToTwips(height()));
}

void ScanWindow::setHeightTwips(int twips) {
    resize(width() < 200 ? 560 : width(), int(twips / TwipsPerPixel));
}

void ScanWindow::status(int panel, const QString& text) {
    if (hooks.setStatusPanel)
        hooks.setStatusPanel(panel, text);
}

void ScanWindow::scanClicked() {
    // While the import runs, a new walk would clear the tree it is going through.
    if (closing_ || importing_)
        return;
    if (scanButton->text() != ScanCaption) {
        // A walk (or a refused CD key) is pending: the walk ends at its next entry.
        if (walking_)
            worker_->stop();
        endWalk();
        return;
    }
    setHeightTwips(ShortHeight);
    tree_.clear();
    scanButton->setText(StopCaption);
    pathScan->setEnabled(false);
    folder0_ = pathScan->text();
    if (!folder0_.endsWith(QLatin1Char('/')))
        folder0_ += QLatin1Char('/');
    goAhead_ = QStringLiteral("1");

    const QString text = pathScan->text();
    const qsizetype cdKey = DiscSeparatorIn(text);
    if (cdKey >= 0) {
        // A CD volume key from the library tree. The window stays "&STOP" until pressed again.
        pathScan->setText(text.mid(cdKey + 2).chopped(1));
        state_.services.ui.message(QStringLiteral("This function not run with CD"),
                                   QStringLiteral("Comming soon"), MsgIcon::Exclamation,
                                   MsgButtons::Ok);
        return;
    }
    // The CD-name dialog may have been closed because the program is closing.
    if ((IsCdDrive(text, state_.services.drives) && !nameCd()) || closing_) {
        endWalk();
        return;
    }
    walk();
    endWalk();
}

bool ScanWindow::nameCd() {
    drivePicture->setIcon(TreeIcons::icon(TreeImage::Disc), QSize(24, 24));
    state_.currentLabel = VolumeLabelOf(state_.services.drives, pathScan->text());
    discLabel->setText(state_.currentLabel);

    RenameDialog dialog(state_, this);
    dialog.renameMode = RenameDialog::NameCd;
    dialog.prompt = QStringLiteral("CD name");
    dialog.currentLabel = state_.currentLabel;
    dialog.goAhead = goAhead_;
    dialog.load();
    if (hooks.runRename)
        hooks.runRename(dialog);
    // Cancel leaves both values as they were: the walk goes on under the volume label.
    state_.currentLabel = dialog.currentLabel;
    goAhead_ = dialog.goAhead;
    return goAhead_ == QLatin1String("1");
}

void ScanWindow::walk() {
    const ScanOptions options =
        WalkOptions(rescanOptions(), folder0_, state_.services.drives, state_.currentLabel);

    if (options.collect == ScanCollect::SoundFiles)
        status(1, QStringLiteral("Scaning Mp3..."));
    if (options.collect == ScanCollect::AllFiles)
        status(1, QStringLiteral("Scaning M3u..."));

    // The walk fills a tree of its own on the worker; the window's tree takes it at the end.
    ScanTree walked;
    ScanResult result;
    ScanReports& reports = worker_->reports();
    const Files& files = state_.services.files;
    const Drives& drives = state_.services.drives;
    walking_ = true;
    worker_->run([&] {
        ScanWalker walker(walked, files, drives);
        walker.setYield([&] {
            if (worker_->stopRequested())
                walker.stop();
        });
        walker.setFolderShown([this, &reports](const QString& folder) {
            reports.set(ScanReports::Folder, [this, folder] { pathScan->setText(folder); });
        });
        if (options.collect == ScanCollect::SoundFiles)
            walker.setStatusFolder([this, &reports](const QString& folder) {
                reports.set(ScanReports::Panel2, [this, folder] { status(2, folder); });
            });
        result = walker.walk(options);
        // Sorting thousands of folders by the user's language takes longer than a frame.
        walked.sortRoots();
    });
    walking_ = false;
    // A stop put the window's own values back already.
    if (result.stopped)
        reports.discard();
    else
        reports.showNow();
    tree_.replaceWith(walked);
    // After the reported values, so the last folder shown does not hide it.
    if (!result.skippedCdDrives.isEmpty())
        status(2, SkippedCdDrivesText(result.skippedCdDrives));

    // A stopped walk has already returned the window to idle; its tree is left as it is.
    if (options.collect != ScanCollect::Playlists || result.stopped)
        return;
    QString depth = depthEdit->text();
    for (const QString& failure : PurgeDuplicateM3u(tree_, depth))
        state_.services.ui.message(failure, ProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
    depthEdit->setText(depth);
}

void ScanWindow::endWalk() {
    pathScan->setEnabled(true);
    scanButton->setText(ScanCaption);
    pathScan->setText(folder0_);
    setHeightTwips(TallHeight);
}

void ScanWindow::importIntoCatalog() {
    // The window runs during a walk or an import: a second press must not start another over it,
    // nor over the re-scan's import.
    if (closing_ || busy() || state_.importRunning)
        return;
    ScanReports& reports = worker_->reports();
    ScanImportHooks importHooks;
    importHooks.progress = [this, &reports](int maximum, int value) {
        reports.set(ScanReports::Progress, [this, maximum, value] {
            progressBar->setMaximum(maximum);
            progressBar->setValue(value);
        });
    };
    importHooks.status = [this, &reports](const QString& text) {
        reports.set(ScanReports::Panel2, [this, text] { status(2, text); });
    };
    importHooks.yield = [this] { return !worker_->stopRequested(); };
    importing_ = true;
    state_.importRunning = true;
    // Meanwhile Cancel stops the import rather than hiding the window over it.
    cancelButton->setText(QStringLiteral("Stop &import"));
    cancelButton->setToolTip(
        QStringLiteral("Stops the import; what it added so far stays in the catalog."));
    status(2, QStringLiteral("Backing up the catalog..."));

    // What the worker reads; the window changes none of it while the import runs (busy()).
    const QString catalogAddress = state_.catalog.connection.fileName();
    const Drives& drives = state_.services.drives;
    const QString labelBefore = state_.currentLabel;
    const QString scanned = pathScan->text();
    const PathMap pathMap = state_.pathMap;
    ScanImportResult result;
    QString backupFailure;
    worker_->run([&] {
        Result<std::unique_ptr<Catalog>> opened = OpenCatalogConnection(catalogAddress);
        if (!opened) {
            result.nodes = tree_.nodeCount();
            result.currentLabel = labelBefore;
            result.failure = opened.error;
            return;
        }
        backupFailure = backUpBeforeImport(*opened.value);
        result = tarl::ImportScanTree(*opened.value, drives, tree_, labelBefore, scanned,
                                      importHooks, ScanImportBatching{}, pathMap);
    });
    importing_ = false;
    state_.importRunning = false;
    state_.currentLabel = result.currentLabel;
    cancelButton->setText(QStringLiteral("&Cancel"));
    cancelButton->setToolTip(QString());
    reports.showNow();
    // Closing: the program ends at once, so neither a box nor a rebuilt tree is wanted.
    if (closing_)
        return;
    showImportResult(result);
    status(2, QString());
    status(1, backupFailure);
    if (hooks.importEnded)
        hooks.importEnded();
}

QString ScanWindow::backUpBeforeImport(Catalog& catalog) {
    ScanReports& reports = worker_->reports();
    const Result<QString> made =
        RotateBackups(catalog.connection, [this, &reports](int copied, int count) {
            reports.set(ScanReports::Progress, [this, copied, count] {
                progressBar->setMaximum(count);
                progressBar->setValue(copied);
            });
        });
    return made ? QString() : made.error + QStringLiteral(" The import went on without it.");
}

void ScanWindow::showImportResult(const ScanImportResult& result) {
    Ui& ui = state_.services.ui;
    if (result.stopped && !result.failed()) {
        ui.message(QStringLiteral("The import was stopped: %1 of %2 nodes were written; what they "
                                  "added stays in the catalog. Add to DataBase again adds the "
                                  "rest.")
                       .arg(result.nodesWritten)
                       .arg(result.nodes),
                   QStringLiteral("Data Base"), MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    if (!result.failed()) {
        ui.message(QStringLiteral("Updated Data Base"), QStringLiteral("Data Base"),
                   MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    ui.message(ImportFailureText(result), QStringLiteral("Data Base"), MsgIcon::Critical,
               MsgButtons::Ok);
}

SoundFormats SavedSoundFormats(Settings& settings) {
    const Result<SoundFormats> saved = SoundFormats::FromKeys(settings.read(keys::ScanFormats));
    // A value another program spoiled gives the default: every format.
    return saved ? saved.value : SoundFormats::All();
}

RescanOptions ScanWindow::rescanOptions() const {
    RescanOptions options;
    options.collect = collectOptions[0]->isChecked()   ? ScanCollect::Playlists
                      : collectOptions[1]->isChecked() ? ScanCollect::SoundFiles
                                                       : ScanCollect::AllFiles;
    options.formats = SoundFormats::None();
    for (size_t i = 0; i < std::size(SoundFormatOrder); ++i)
        options.formats.set(SoundFormatOrder[i], formatChecks[i]->isChecked());
    options.subfolders = subfoldersCheck->isChecked();
    options.depth = depthEdit->text();
    return options;
}

bool ScanWindow::stopRequested() const {
    return worker_->stopRequested();
}

void ScanWindow::stopForClose() {
    closing_ = true;
    worker_->stop();
}

void ScanWindow::addToCatalogClicked() {
    importIntoCatalog();
}

void ScanWindow::cancelClicked() {
    if (importing_) {
        worker_->stop();
        return;
    }
    hide();
}

void ScanWindow::drivePictureClicked() {
    const QString folder =
        state_.services.ui.browseForFolder(QStringLiteral("Selecciona un directorio"));
    if (!folder.isEmpty())
        pathScan->setText(folder);
}

void ScanWindow::clearScanClicked() {
    if (busy())
        return; // the walk or import is going through the tree
    tree_.clear();
}

void ScanWindow::setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    if (font.bold() == bold)
        return;
    font.setBold(bold);
    widget->setFont(font);
}

void ScanWindow::collectOptionHovered(int index) {
    setBold(collectOptions.at(index), true);
}

void ScanWindow::clearScanHovered() {
    setBold(clearScanButton, true);
}

void ScanWindow::windowMouseMoved() {
    for (QRadioButton* option : collectOptions)
        if (!option->isChecked())
            setBold(option, false);
    if (!clearScanButton->font().underline())
        setBold(clearScanButton, false);
}

void ScanWindow::scanTreeMouseDown(const QPoint& pos) {
    const QModelIndex index = scanTreeView->indexAt(pos);
    ScanNode* node = model_->nodeAt(index);
    if (node == nullptr)
        return;
    scanTreeView->setCurrentIndex(index);
    if (hooks.popupScanMenu)
        hooks.popupScanMenu(*node, scanTreeView->viewport()->mapToGlobal(pos) + MenuOffset);
}

void ScanWindow::scanTreeDoubleClicked(const QModelIndex& index) {
    const ScanNode* node = model_->nodeAt(index);
    if (node == nullptr)
        return;
    if (node->isFolder())
        return;
    // Its tracks go through the temporary playlist, which the now-playing tick follows.
    if (hooks.PlayKey)
        hooks.PlayKey(node->key());
    else if (state_.play)
        state_.play->PlayKey(node->key());
}

bool ScanWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == drivePicture && type == QEvent::MouseButtonRelease) {
        drivePictureClicked();
        return true;
    }
    if (watched == clearScanButton && type == QEvent::MouseButtonRelease) {
        clearScanClicked();
        return true;
    }
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        if (watched == clearScanButton)
            clearScanHovered();
        for (int i = 0; i < 3; ++i)
            if (watched == collectOptions[i])
                collectOptionHovered(i);
    }
    return QDialog::eventFilter(watched, event);
}

void ScanWindow::mouseMoveEvent(QMouseEvent* event) {
    windowMouseMoved();
    QDialog::mouseMoveEvent(event);
}

} // namespace tarl
