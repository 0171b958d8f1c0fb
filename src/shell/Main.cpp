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
#include "player/Resume.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace tarl {

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
    player_->warn = [this](const QString& text) {
        state_.services.ui.message(text, QString(VersionLabel), MsgIcon::Exclamation,
                                   MsgButtons::Ok);
    };
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
    steps.resume = [this](qint32 entry, qint64 seconds) {
        ResumeTemporaryPlaylist(state_, true, {entry, seconds});
    };
    const Result<> replayed = ReplayHistoryEntry(state_, index, steps);
    if (!replayed)
        state_.services.ui.message(replayed.error, QStringLiteral("Not Found"),
                                   MsgIcon::Exclamation, MsgButtons::Ok);
}

void Main::mnuhisclear_Click() {
    const Result<> cleared = ClearHistory(state_.programFolder);
    if (!cleared)
        setStatusPanel(2, QStringLiteral("The history could not be cleared: ") + cleared.error);
    BuildHistoryMenu();
}

// Asks for the favourite's name with the proposal filled in, then shows the name typed ("" when
// cancelled). Nothing is stored yet.
void Main::mnufavAdd_Click() {
    Ui& ui = state_.services.ui;
    const std::optional<QString> name =
        ui.input(QStringLiteral("Favorite Name"), QStringLiteral("Add to Favorites"),
                 FavoriteProposal(state_));
    ui.message(name.value_or(QString()), QString(VersionLabel), MsgIcon::None, MsgButtons::Ok);
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

    const bool launched =
        player_->playWinamp(PlayerControl::CommandLine(state_.playerPath, state_.tmpPlaylistPath));
    if (!launched)
        player_->FindWinampWindow();
    ResumeTemporaryPlaylist(state_, launched, {state_.lastIndex, state_.lastPosition});

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

} // namespace tarl
