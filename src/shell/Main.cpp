#include "shell/Main.h"

#include "browser/LibraryBrowser.h"
#include "browser/TrackListView.h"
#include "catalog/ConnectionText.h"
#include "dialogs/Options.h"
#include "dialogs/ScanFiles.h"
#include "history/Favorites.h"
#include "history/HistoryFile.h"
#include "history/HistoryMenu.h"
#include "history/HistoryReplay.h"
#include "platform/PlayerLink.h"
#include "platform/ProgramFolder.h"
#include "platform/Ui.h"
#include "player/NowPlaying.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "shell/About.h"
#include "shell/ClosingDown.h"
#include "shell/LibraryRefresh.h"
#include "shell/Picture.h"
#include "shell/Twips.h"
#include "state/AppState.h"
#include "state/Convert.h"
#include "state/LastSong.h"
#include "state/Version.h"
#include "state/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace tarl {

namespace {

constexpr double TreeTop = 630; // below the toolbar and the player panel
constexpr double ToolbarHeight = 630;
constexpr double SplitterWidth = 60;

void place(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

QLabel* knob(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

// The panel and the now-playing tick act on the window through these.
class Main::PlayerViews : public PanelView, public NowPlayingView {
public:
    explicit PlayerViews(Main& main) : m_(main) {}

    void moveKnob(int element, double leftTwips) override {
        QLabel* knob = m_.ImgButt[static_cast<size_t>(element)];
        knob->move(ToPixels(leftTwips), knob->y());
    }
    void setStatusPanel(int panel, const QString& text) override { m_.setStatusPanel(panel, text); }
    void setElapsed(const QString& caption) override { m_.plafo_time->setText(caption); }
    void setDisplay(const QString& caption) override { m_.plafo->setText(caption); }
    void setDisplayTip(const QString& tip) override {
        if (m_.plafo->toolTip() != tip)
            m_.plafo->setToolTip(tip);
    }
    void reloadTrackList(int row) override { m_.browser->reloadTrackList(row); }
    void selec_song(bool ensureVisible) override { m_.browser->selec_song(ensureVisible); }
    void misIcon(const QString& tip) override {
        if (m_.hooks_.misIcon)
            m_.hooks_.misIcon(tip);
    }

private:
    Main& m_;
};

Main::Main(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName(QStringLiteral("Main"));
    setWindowIcon(QIcon(TarlPicture(64)));
    setAttribute(Qt::WA_QuitOnClose, false); // Form_Unload ends the program itself

    client_ = new QWidget(this);
    setCentralWidget(client_);

    trv = new QTreeView(client_);
    trv->setObjectName(QStringLiteral("trv"));
    trv->setHeaderHidden(true);
    LstMP3 = new TrackListView(client_);
    divisorH = new QFrame(client_);
    divisorH->setObjectName(QStringLiteral("divisorH"));
    divisorH->setFrameShape(QFrame::VLine);
    divisorH->setFrameShadow(QFrame::Raised);
    divisorH->setCursor(Qt::SplitHCursor);
    divisorH->installEventFilter(this);

    buildMenus();
    buildToolbar();
    buildPlayerPanel();
    buildStatusBar();
    buildBrowser();
    buildScan();
    buildPlayer();
    // The built-in size and place, used until the settings give others.
    setWidth(11000);
    setHeight(7500);
    setLeft(1000);
    setTop(1000);

    timerINI = new QTimer(this);
    timerINI->setObjectName(QStringLiteral("timerINI"));
    timerINI->setInterval(5000);
    connect(timerINI, &QTimer::timeout, this, &Main::timerINI_Timer);
    timerINI->start();

    state_.reloadMain = [this] { Form_Load(); };
    refreshActions();
    ResizeMain();
}

Main::~Main() {
    state_.reloadMain = nullptr;
    state_.play = nullptr;
}

void Main::buildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuScanDrive = mnuFile->addAction(QStringLiteral("Scan &Drive"));
    mnuOptions = mnuFile->addAction(QStringLiteral("&Options"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"));
    mnuExit->setShortcut(QKeySequence::Quit);
    connect(mnuScanDrive, &QAction::triggered, this, [this] {
        if (hooks_.showScanWindow)
            hooks_.showScanWindow();
    });
    connect(mnuOptions, &QAction::triggered, this, &Main::mnuOptions_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    mnuview = menuBar()->addMenu(QStringLiteral("&View"));
    mnuviewCDview = mnuview->addAction(QStringLiteral("Sort by paths"));
    mnuviewStyleView = mnuview->addAction(QStringLiteral("Sort By Style"));
    mnuviewCDview->setCheckable(true);
    mnuviewStyleView->setCheckable(true);
    connect(mnuviewCDview, &QAction::triggered, this, [this] {
        if (hooks_.tree_cd_load)
            hooks_.tree_cd_load();
    });
    connect(mnuviewStyleView, &QAction::triggered, this, [this] {
        if (hooks_.tree_style_load)
            hooks_.tree_style_load();
    });
    mnuview->addSeparator();
    const std::array<QString, 4> modes{QStringLiteral("Mp3 Little Icons"),
                                       QStringLiteral("Mp3 list Icons"), QStringLiteral("Mp3 List"),
                                       QStringLiteral("Report")};
    for (int i = 0; i < 4; ++i) {
        mnuviewMp3[i] = mnuview->addAction(modes[i]);
        mnuviewMp3[i]->setCheckable(true);
        connect(mnuviewMp3[i], &QAction::triggered, this, [this, i] {
            if (hooks_.setListViewMode)
                hooks_.setListViewMode(i + 1);
        });
    }

    // The properties menu holds no items of its own; the layouts hide and show it with the rest.
    mnuprop = new QMenu(QStringLiteral("Properties"), this);

    mnuhis0 = menuBar()->addMenu(QStringLiteral("History"));
    mnuhisUp = mnuhis0->addAction(QStringLiteral("Up"));
    mnuhisUp->setEnabled(false);
    mnuhis0->addSeparator();
    for (int i = 0; i < 10; ++i) {
        mnuhis[i] = mnuhis0->addAction(QStringLiteral("History %1").arg(i + 1));
        mnuhis[i]->setVisible(false);
    }
    mnuhis0->addSeparator();
    mnuhisclear = mnuhis0->addAction(QStringLiteral("Clear history"));

    mnufav = menuBar()->addMenu(QStringLiteral("Favorites"));
    mnufavAdd = mnufav->addAction(QStringLiteral("Add to favorites"));
    mnufav->addSeparator();
    mnufav1 = mnufav->addAction(QStringLiteral("Favorite 1"));

    mnuhelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuAbout = mnuhelp->addAction(QStringLiteral("&About"));
    connect(mnuAbout, &QAction::triggered, this, &Main::mnuAbout_Click);
}

void Main::buildToolbar() {
    Toolbar1 = new QToolBar(client_);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* s = style();
    const std::array<QString, 7> texts{QStringLiteral("Ini"),         QStringLiteral("View Paths"),
                                       QStringLiteral("View Styles"), QStringLiteral("separator"),
                                       QStringLiteral("Scan"),        QStringLiteral("Find"),
                                       QStringLiteral("Refresh")};
    const std::array<QStyle::StandardPixmap, 7> icons{
        QStyle::SP_DirHomeIcon,  QStyle::SP_DirIcon,     QStyle::SP_FileDialogListView,
        QStyle::SP_CustomBase,   QStyle::SP_DriveCDIcon, QStyle::SP_FileDialogContentsView,
        QStyle::SP_BrowserReload};
    for (int i = 0; i < 7; ++i) {
        if (i == 3) {
            toolbarButtons[i] = Toolbar1->addSeparator();
            toolbarButtons[i]->setText(texts[i]);
            continue;
        }
        toolbarButtons[i] = Toolbar1->addAction(s->standardIcon(icons[i]), texts[i]);
        toolbarButtons[i]->setToolTip(texts[i]);
    }
    toolbarButtons[1]->setCheckable(true);
    toolbarButtons[2]->setCheckable(true);
    connect(toolbarButtons[1], &QAction::triggered, this, [this] {
        if (hooks_.tree_cd_load)
            hooks_.tree_cd_load();
    });
    connect(toolbarButtons[2], &QAction::triggered, this, [this] {
        if (hooks_.tree_style_load)
            hooks_.tree_style_load();
    });
    connect(toolbarButtons[4], &QAction::triggered, this, [this] {
        if (hooks_.showScanWindow)
            hooks_.showScanWindow();
    });
    connect(toolbarButtons[5], &QAction::triggered, this, [this] {
        if (hooks_.showSearchWindow)
            hooks_.showSearchWindow();
    });
    connect(toolbarButtons[6], &QAction::triggered, this, [this] {
        if (hooks_.rescanSelected)
            hooks_.rescanSelected();
    });
}

void Main::buildPlayerPanel() {
    FPlayer = new QFrame(client_);
    FPlayer->setObjectName(QStringLiteral("FPlayer"));
    FPlayer->setFrameShape(QFrame::StyledPanel);

    plafo = new QLabel(FPlayer);
    plafo->setObjectName(QStringLiteral("plafo"));
    plafo->setMinimumWidth(ToPixels(2000));
    place(plafo, 60, 30, 4500, 270);
    plafo_time = new QLabel(QStringLiteral("00:00."), FPlayer);
    plafo_time->setObjectName(QStringLiteral("plafo_time"));
    place(plafo_time, 1600, 330, 900, 270);

    // Buttons 0 to 4: play, pause, previous, stop, next.
    const std::array<QStyle::StandardPixmap, 5> icons{
        QStyle::SP_MediaPlay, QStyle::SP_MediaPause, QStyle::SP_MediaSkipBackward,
        QStyle::SP_MediaStop, QStyle::SP_MediaSkipForward};
    const std::array<QString, 5> tips{QStringLiteral("Play"), QStringLiteral("Pause"),
                                      QStringLiteral("Previous"), QStringLiteral("Stop"),
                                      QStringLiteral("Next")};
    for (int i = 0; i < 5; ++i) {
        ImgButt[i] = new QLabel(FPlayer);
        ImgButt[i]->setObjectName(QStringLiteral("ImgButt%1").arg(i));
        ImgButt[i]->setPixmap(style()->standardIcon(icons[i]).pixmap(16, 16));
        ImgButt[i]->setToolTip(tips[i]);
        ImgButt[i]->setCursor(Qt::PointingHandCursor);
        place(ImgButt[i], 60 + i * 300, 330, 270, 270);
    }

    // The knobs slide over thin tracks: position above, volume below.
    auto* positionTrack = new QFrame(FPlayer);
    positionTrack->setFrameShape(QFrame::HLine);
    place(positionTrack, PositionKnobMin, 360, PositionKnobMax - PositionKnobMin + 120, 60);
    auto* volumeTrack = new QFrame(FPlayer);
    volumeTrack->setFrameShape(QFrame::HLine);
    place(volumeTrack, VolumeKnobMin, 510, VolumeKnobTrack + 120, 60);
    ImgButt[5] = knob(FPlayer, QStringLiteral("ImgButt5"));
    ImgButt[5]->setToolTip(QStringLiteral("Position"));
    place(ImgButt[5], PositionKnobMin, 330, 120, 120);
    ImgButt[6] = knob(FPlayer, QStringLiteral("ImgButt6"));
    ImgButt[6]->setToolTip(QStringLiteral("Volume"));
    place(ImgButt[6], VolumeKnobMin, 480, 120, 120);
    ImgButt[7] = new QLabel(FPlayer);
    ImgButt[7]->setObjectName(QStringLiteral("ImgButt7"));
    ImgButt[7]->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(12, 12));
    place(ImgButt[7], 2450, 465, 180, 180);

    Command1 = new QPushButton(QStringLiteral("<>"), FPlayer);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Show the playing song"));
    place(Command1, 4500, 300, 420, 300);
    bCompact = new QPushButton(QStringLiteral(">>"), FPlayer);
    bCompact->setObjectName(QStringLiteral("bCompact"));
    bCompact->setToolTip(QStringLiteral("Compact layout"));
    place(bCompact, 4950, 300, 420, 300);
}

void Main::buildStatusBar() {
    StatusBar1 = new QStatusBar(client_);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(StatusBar1);
        panels_[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panels_[i]->setTextFormat(Qt::PlainText);
        StatusBar1->addWidget(panels_[i], i == 0 ? 1 : 2);
    }
}

void Main::buildBrowser() {
    LibraryBrowser::Controls controls;
    controls.window = this;
    controls.trv = trv;
    controls.LstMP3 = LstMP3;
    controls.viewPathsButton = toolbarButtons[1];
    controls.viewStylesButton = toolbarButtons[2];
    controls.mnuviewCDview = mnuviewCDview;
    controls.mnuviewStyleView = mnuviewStyleView;
    controls.mnuviewMp3 = mnuviewMp3;
    controls.setStatus = [this](int panel, const QString& text) { setStatusPanel(panel, text); };
    browser = new LibraryBrowser(state_, controls, this);
    hooks_.tree_cd_load = [this] { return browser->tree_cd_load(); };
    hooks_.tree_style_load = [this] { return browser->tree_style_load(); };
    hooks_.loadmp3list = [this] { browser->loadmp3list(); };
    hooks_.SelectFolderNode = [this](const QString& key) { browser->SelectFolderNode(key); };
    hooks_.setListViewMode = [this](int mode) { browser->setListViewMode(mode); };
}

ScanFiles& Main::scanWindow() {
    if (scanFiles)
        return *scanFiles;
    scanFiles = new ScanFiles(state_, this);
    scanFiles->hooks.setStatusPanel = [this](int panel, const QString& text) {
        setStatusPanel(panel, text);
    };
    scanFiles->hooks.PlayWinampM3u = [this](const QString& key) { player_->PlayWinampM3u(key); };
    scanFiles->hooks.importEnded = [this] { RebuildLibraryTree(*browser, state_.sortedByCd); };
    return *scanFiles;
}

void Main::buildPlayer() {
    playerViews_ = std::make_unique<PlayerViews>(*this);
    player_ = std::make_unique<PlayerControl>(state_);
    panel_ = std::make_unique<PlayerPanel>(state_, *playerViews_);
    nowPlaying_ = std::make_unique<NowPlaying>(state_, *panel_, *playerViews_);
    state_.play = player_.get();
    player_->BuildHistoryMenu = [this] { BuildHistoryMenu(); };
    player_->reportError = [this](const QString& text) { setStatusPanel(2, text); };
    hooks_.BuildHistoryMenu = [this] { BuildHistoryMenu(); };

    for (QLabel* element : ImgButt)
        element->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &Main::Command1_Click);
    for (int i = 0; i < 10; ++i)
        connect(mnuhis[i], &QAction::triggered, this, [this, i] { mnuhis_Click(i + 1); });
    connect(mnuhisclear, &QAction::triggered, this, &Main::mnuhisclear_Click);
    connect(mnufavAdd, &QAction::triggered, this, &Main::mnufavAdd_Click);

    TimerWinamp = new QTimer(this);
    TimerWinamp->setObjectName(QStringLiteral("TimerWinamp"));
    TimerWinamp->setInterval(300);
    connect(TimerWinamp, &QTimer::timeout, this, &Main::TimerWinamp_Timer);
    TimerWinamp->start();
}

void Main::TimerWinamp_Timer() {
    nowPlaying_->TimerWinamp_Timer();
}

void Main::Command1_Click() {
    if (hooks_.SelectFolderNode)
        hooks_.SelectFolderNode(state_.lastFolder);
    browser->selec_song(true);
}

void Main::BuildHistoryMenu() {
    mnuhisclear->setEnabled(false);
    mnuhisUp->setEnabled(false);
    for (QAction* entry : mnuhis)
        entry->setVisible(false);
    const HistoryMenu menu = HistoryMenuState(state_.programFolder);
    for (int i = 0; i < menu.captions.size() && i < int(mnuhis.size()); ++i) {
        mnuhis[static_cast<size_t>(i)]->setText(menu.captions[i]);
        mnuhis[static_cast<size_t>(i)]->setVisible(true);
    }
    mnuhisclear->setEnabled(menu.exists);
}

void Main::mnuhis_Click(int index) {
    ReplaySteps steps;
    steps.SelectFolderNode = [this](const QString& folder) {
        return browser->SelectFolderNode(folder);
    };
    steps.playList = [this] {
        browser->FillTrackList();
        browser->trv_DblClick();
    };
    ReplayHistoryEntry(state_, index, steps);
}

void Main::mnuhisclear_Click() {
    QString error;
    if (!ClearHistory(state_.programFolder, &error))
        setStatusPanel(2, QStringLiteral("The history could not be cleared: ") + error);
    BuildHistoryMenu();
}

void Main::mnufavAdd_Click() {
    tarl::mnufavAdd_Click(state_);
}

bool Main::ImgButt_Mouse(int index, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        panel_->ImgButt_MouseDown(index);
        return true;
    case QEvent::MouseMove:
        panel_->ImgButt_MouseMove(
            index, ToTwips(static_cast<QMouseEvent*>(event)->position().toPoint().x()));
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        panel_->ImgButt_MouseUp(index);
        return true;
    default:
        return false;
    }
}

void Main::buildScan() {
    hooks_.showScanWindow = [this] { scanWindow().exec(); };
    // The re-scan runs the hidden window's scan and import with its options as last set; the
    // import's end rebuilds the tree and selects the folder again.
    hooks_.rescanSelected = [this] {
        if (scanFiles && scanFiles->busy())
            return; // one walk or import at a time
        const TreeNode* node = browser->selectedNode();
        if (!node || node->key.isEmpty())
            return;
        ScanFiles& scan = scanWindow();
        scan.pathScan->setText(node->key);
        scan.butScan_Click();
        scan.AddtrvScanDB();
    };
}

void Main::refreshActions() {
    toolbarButtons[0]->setEnabled(false); // "Ini" has no action of its own
    mnuScanDrive->setEnabled(bool(hooks_.showScanWindow));
    mnuviewCDview->setEnabled(bool(hooks_.tree_cd_load));
    mnuviewStyleView->setEnabled(bool(hooks_.tree_style_load));
    for (QAction* a : mnuviewMp3)
        a->setEnabled(bool(hooks_.setListViewMode));
    toolbarButtons[1]->setEnabled(bool(hooks_.tree_cd_load));
    toolbarButtons[2]->setEnabled(bool(hooks_.tree_style_load));
    toolbarButtons[4]->setEnabled(bool(hooks_.showScanWindow));
    toolbarButtons[5]->setEnabled(bool(hooks_.showSearchWindow));
    toolbarButtons[6]->setEnabled(bool(hooks_.rescanSelected));
}

void Main::setStatusPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= 2)
        panels_[panel - 1]->setText(text);
}

QString Main::statusPanel(int panel) const {
    if (panel < 1 || panel > 2)
        return {};
    return panels_[panel - 1]->text();
}

// ---------------------------------------------------------------------------------------------
// Start-up and shutdown

void Main::Form_Load() {
    // Apply in the options dialog reruns the start-up; while the start-up itself is asking for
    // a catalog, its own loop goes on with the new path instead.
    if (inFormLoad_)
        return;
    inFormLoad_ = true;
    refreshActions();
    Settings& settings = state_.settings;
    Ui& ui = state_.services.ui;

    setWindowTitle(QString(VersionLabel));
    state_.programFolder = ProgramFolder(QCoreApplication::applicationDirPath());
    settings.setPath(state_.programFolder + QStringLiteral("tarl.ini"));
    state_.tmpPlaylistPath = state_.programFolder + QStringLiteral("m3uTmp.m3u");
    state_.dbPath = settings.read(keys::DatabasePath);

    for (;;) {
        if (state_.dbPath.isEmpty()) {
            const MsgAnswer answer = ui.message(
                QStringLiteral("Ok for select the Dbase or Cancel for exit"),
                QStringLiteral("Database not selected!"), MsgIcon::None, MsgButtons::OkCancel);
            if (answer == MsgAnswer::Cancel) {
                inFormLoad_ = false;
                Form_Unload();
                return;
            }
            Options options(state_, this);
            options.btPathDb_Click();
            options.btOk_Click();
            state_.dbPath = settings.read(keys::DatabasePath);
            continue;
        }
        QString failure;
        if (!startUp(&failure)) {
            ui.message(QStringLiteral("Missing Data Base or Wrong format\t\rRestart the Tarl"),
                       QStringLiteral("Data Base Error"), MsgIcon::Critical, MsgButtons::Ok);
            // The box's words are fixed; the reason stays readable in the status bar.
            setStatusPanel(1, failure);
        }
        break;
    }
    inFormLoad_ = false;
    reportSettingsProblems();
}

bool Main::startUp(QString* failure) {
    Connection& connection = state_.catalog.connection;
    if (connection.state() == 0 &&
        !connection.open(BuildConnectionText(state_.dbPath), QString(), QString())) {
        *failure = connection.lastError();
        return false;
    }
    setStatusPanel(1, connection.isReadOnly()
                          ? QStringLiteral("The catalog is read-only: changes cannot be saved.")
                          : QString());
    LoadSortedByCd(state_);
    const auto& fill = state_.sortedByCd ? hooks_.tree_cd_load : hooks_.tree_style_load;
    if (fill && !fill()) {
        *failure = QStringLiteral("The library tree could not be read from the catalog.");
        return false;
    }
    loadiconsmenu();
    TrackListView::ToggleHeaderButtons(LstMP3->reportView());
    if (hooks_.loadmp3list) {
        hooks_.loadmp3list();
        columnsLoaded_ = true;
    }
    state_.lastListIndex = -1;
    llegir_play(state_);
    restore_previous();
    if (hooks_.tryIcone)
        hooks_.tryIcone();
    if (hooks_.BuildHistoryMenu)
        hooks_.BuildHistoryMenu();
    return true;
}

void Main::restore_previous() {
    Settings& settings = state_.settings;
    PlayerLink& player = state_.services.player;

    LlegirPosMain(state_, *this);
    setWindowStateValue(settings.readInt16(keys::MainState));
    if (windowStateValue() == StateNormal && top() < 0)
        setTop(0);
    state_.playerPath = PlayerProgramPath(settings);
    if (hooks_.SelectFolderNode)
        hooks_.SelectFolderNode(state_.lastFolder);

    // A player started here needs a moment before it takes the jump, play and seek; one that
    // was already running answers at once.
    if (player_->playWinamp(PlayerControl::CommandLine(state_.playerPath, state_.tmpPlaylistPath)))
        state_.winampWindow = player.waitForWindow(PlayerStartWaitMs);
    else
        player_->FindWinampWindow();
    player.sendMessage(state_.winampWindow, player_msg::WmUser, state_.lastIndex,
                       player_msg::SetPlaylistPos);
    player.sendMessage(state_.winampWindow, player_msg::WmCommand, player_msg::Play, 0);
    player.sendMessage(state_.winampWindow, player_msg::WmUser, qint64(state_.lastPosition) * 1000,
                       player_msg::JumpToTime);

    state_.playerVolume = settings.readInt16(keys::Volum);
    panel_->setVolumeKnob(VolumeKnobLeft(state_.playerVolume));
    player.sendMessage(state_.winampWindow, player_msg::WmUser, state_.playerVolume,
                       player_msg::SetVolume);

    LoadVisualMode(state_);
    if (state_.visualMode > 0 && hooks_.applyCompactLayout)
        hooks_.applyCompactLayout();
}

void Main::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    timerINI->stop();
    TimerWinamp->stop();

    state_.catalog.connection.close();
    // Only what start-up applied: a failed start-up keeps the saved layout.
    SaveLayout(state_, *this);
    // Columns that were never set up (a start-up that stopped early) are not written, so the
    // saved widths and places stay.
    if (columnsLoaded_)
        browser->saveColumns();
    if (hooks_.removeTrayIcon)
        hooks_.removeTrayIcon();
    // The player may have been started or closed since the last tick.
    player_->FindWinampWindow();
    Salvar_play(state_);
    state_.services.player.postMessage(state_.winampWindow, player_msg::WmClose, 0, 0);
    reportSettingsProblems();

    hide();
    QCoreApplication::exit(0);
}

void Main::reportSettingsProblems() {
    Settings& settings = state_.settings;
    if (!settings.ignoredKeys().isEmpty()) {
        setStatusPanel(2, QStringLiteral("Unreadable settings ignored, defaults used: ") +
                              settings.ignoredKeys().join(QStringLiteral(", ")));
        settings.clearIgnoredKeys();
    }
    if (settings.writeError().isEmpty() || settingsErrorShown_)
        return;
    settingsErrorShown_ = true; // once a run: the timer would repeat it every 5 seconds
    state_.services.ui.message(QStringLiteral("Tarl cannot save its settings.\n") +
                                   settings.writeError(),
                               QString(VersionLabel), MsgIcon::Exclamation, MsgButtons::Ok);
}

void Main::closeEvent(QCloseEvent* event) {
    // A walk or import running behind the hidden scan window (the re-scan) stops first: the
    // catalog must not close under it. The close then goes on as for a termination signal.
    if (scanFiles && scanFiles->busy()) {
        event->ignore();
        if (!closingDown_)
            closingDown_ = new ClosingDown(*this, this);
        closingDown_->start();
        return;
    }
    Form_Unload();
    event->accept();
}

void Main::loadiconsmenu() {
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void Main::timerINI_Timer() {
    Salvar_play(state_);
    if (windowStateValue() == StateNormal && state_.visualMode > 0) {
        const double caption = ToTwips(plafo->width());
        setWidth(caption > 4500 ? caption + 800 : 5800);
    }
    reportSettingsProblems();
}

void Main::mnuOptions_Click() {
    Options options(state_, this);
    options.exec();
}

void Main::mnuAbout_Click() {
    About about(this);
    about.exec();
}

// ---------------------------------------------------------------------------------------------
// Layout

void Main::ResizeMain() {
    const double w = ToTwips(client_->width());
    const double h = ToTwips(client_->height());
    const double splitter = splitterLeft_;
    double treeHeight = ToTwips(trv->height());
    if (h > 1570) {
        if (StatusBar1->isVisibleTo(this)) {
            const double barHeight = ToTwips(StatusBar1->sizeHint().height());
            place(StatusBar1, 0, h - barHeight, w, barHeight);
            treeHeight = h - barHeight - ToolbarHeight;
        } else {
            treeHeight = h - 1200;
        }
    }
    treeHeight = std::max(0.0, treeHeight);
    const double treeWidth = splitter > 0 ? splitter : 0;
    place(trv, 0, TreeTop, treeWidth, treeHeight);
    const double listWidth = w - splitter > 200 ? w - splitter - 200 : ToTwips(LstMP3->width());
    place(LstMP3, splitter + SplitterWidth, TreeTop, listWidth, treeHeight);
    place(divisorH, splitter, TreeTop, SplitterWidth, treeHeight);
    place(Toolbar1, 0, 0, std::max(treeWidth, 0.0) + 40, ToolbarHeight);
    const double panelWidth = w > splitter ? w - splitter : ToTwips(FPlayer->width());
    place(FPlayer, splitter + 40, 0, panelWidth, ToolbarHeight);
}

void Main::Form_Resize() {
    if (resizeSuspended_)
        return;
    ResizeMain();
    // Minimised, the window lives on in the tray; without a tray it stays in the task bar.
    if (isMinimized() && hooks_.trayIconVisible && hooks_.trayIconVisible())
        hide();
}

void Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == divisorH)
        divisorH_Mouse(event);
    for (size_t i = 0; i < ImgButt.size(); ++i) {
        if (watched == ImgButt[i] && panel_ && ImgButt_Mouse(int(i), event))
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
        const double w = ToTwips(client_->width());
        const double next = splitterLeft_ + ToTwips(x) - SplitterWidth / 2;
        // Keep some of both sides visible.
        splitterLeft_ = std::clamp(next, 300.0, std::max(300.0, w - 600));
        ResizeMain();
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
    ResizeMain();
}

} // namespace tarl
