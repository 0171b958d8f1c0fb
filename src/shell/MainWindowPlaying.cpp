// The main window's everyday playing: the keys, the play order's toggles, the queue view and
// the tray's menu, all through the player's commands (PlayerCommands, PlayQueue).
#include "shell/MainWindow.h"

#include "mpris/MprisService.h"
#include "platform/Ui.h"
#include "player/DiscQueue.h"
#include "player/NowPlaying.h"
#include "player/PlayQueue.h"
#include "player/PlayerCommands.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "player/TrackCache.h"
#include "shell/DesktopControls.h"
#include "shell/Picture.h"
#include "shell/QueueDock.h"
#include "shell/TrayIcon.h"
#include "shell/Twips.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"
#include "state/Version.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>

namespace tarl {

namespace {

// The keys of the window, as Help > Keyboard lists them.
struct PlayingKey {
    QKeySequence keys;
    const char* what;
};

} // namespace

void MainWindow::buildPlaying() {
    queue_ = std::make_unique<PlayQueue>(state_);
    commands_ = std::make_unique<PlayerCommands>(state_, *player_, *queue_);
    queue_->startPlayer = [this](const QString& list) {
        return player_->knowPlayerProgram() && player_->StartPlayer(state_.playerPath, list);
    };
    commands_->report = [this](const QString& text) { setStatusPanel(2, text); };
    player_->queueKeys = [this](const QStringList& keys, bool next) {
        const Result<PlayQueue::Queued> queued = discQueue().queueKeys(keys, next);
        if (!queued) {
            setStatusPanel(2, queued.error);
            return;
        }
        QString said =
            SongCount(queued.value.added) +
            (next ? QStringLiteral(" will play next.") : QStringLiteral(" added to the queue."));
        if (!queued.value.leftOut.isEmpty())
            said += u' ' + queued.value.leftOut;
        setStatusPanel(2, said);
        queueDock_->reload();
    };
    commands_->orderChanged = [this] { showPlayOrder(); };
    panel_->playerGone = [this](bool next) { next ? commands_->next() : commands_->play(); };

    // The play order's toggles, at the right of the display.
    shuffleButton_ = new QToolButton(playerFrame_);
    shuffleButton_->setObjectName(QStringLiteral("shuffleButton"));
    shuffleButton_->setCheckable(true);
    shuffleButton_->setAutoRaise(true);
    shuffleButton_->setIcon(PanelIcon(PanelPicture::Shuffle));
    PlaceInTwips(shuffleButton_, 4560, 20, 270, 270);
    connect(shuffleButton_, &QToolButton::clicked, this,
            [this](bool on) { commands_->setShuffle(on); });
    repeatButton_ = new QToolButton(playerFrame_);
    repeatButton_->setObjectName(QStringLiteral("repeatButton"));
    repeatButton_->setCheckable(true);
    repeatButton_->setAutoRaise(true);
    PlaceInTwips(repeatButton_, 4860, 20, 270, 270);
    connect(repeatButton_, &QToolButton::clicked, this, [this] {
        // Off, the list, the song, off again.
        const Repeat now = commands_->repeat();
        commands_->setRepeat(now == Repeat::Off    ? Repeat::List
                             : now == Repeat::List ? Repeat::Song
                                                   : Repeat::Off);
    });
    showPlayOrder();

    queueDock_ = new QueueDock(*queue_, this);
    addDockWidget(Qt::RightDockWidgetArea, queueDock_);
    queueDock_->hide();
    connect(queueDock_, &QueueDock::failed, this,
            [this](const QString& text) { setStatusPanel(2, text); });
    queueAction_ = queueDock_->toggleViewAction();
    queueAction_->setText(QStringLiteral("Queue"));
    queueAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    viewMenu_->addSeparator();
    viewMenu_->addAction(queueAction_);
    connect(queueDock_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown)
            queueDock_->reload();
    });

    desktopControls_ = std::make_unique<DesktopControls>(state_, *commands_, *nowPlaying_);
    desktopControls_->raiseWindow = [this] {
        showNormal();
        raise();
        activateWindow();
    };
    desktopControls_->closeWindow = [this] { close(); };
    desktopControls_->volumeChanged = [this] {
        panel_->setVolumeKnob(VolumeKnobLeft(state_.playerVolume));
    };
    mpris_ = new MprisService(*desktopControls_, QDBusConnection::sessionBus(), this);

    connect(trayIcon_, &TrayIcon::playPauseChosen, this, [this] { commands_->playPause(); });
    connect(trayIcon_, &TrayIcon::nextChosen, this, [this] { commands_->next(); });
    connect(trayIcon_, &TrayIcon::previousChosen, this, [this] { commands_->previous(); });
    connect(trayIcon_, &TrayIcon::showHideChosen, this, &MainWindow::trayIconClicked);
    connect(trayIcon_, &TrayIcon::quitChosen, this, &MainWindow::close);

    buildPlayingKeys();
}

void MainWindow::startMediaKeys() {
    // Once: a second start-up (another catalog) keeps the name it has.
    if (!mpris_->busName().isEmpty())
        return;
    // Said once, and never over what the start-up had to say (a damaged catalog, settings).
    if (!mpris_->start() && statusPanel(2).isEmpty())
        setStatusPanel(2, mpris_->failure());
}

DiscQueue& MainWindow::discQueue() {
    // Made once the settings are read: the cache's room is one of them.
    if (!discQueue_) {
        const qint64 megabytes = qMax(16, state_.settings.readInt32(keys::QueueCacheMb));
        trackCache_ =
            std::make_unique<TrackCache>(TrackCache::DefaultFolder(), megabytes * 1024 * 1024);
        discQueue_ = std::make_unique<DiscQueue>(state_, *queue_, *trackCache_);
        discQueue_->report = [this](const QString& text) { setStatusPanel(2, text); };
    }
    return *discQueue_;
}

void MainWindow::buildPlayingKeys() {
    const PlayingKey keys[] = {
        {QKeySequence(Qt::Key_Space), "Play or pause (not while typing in a box)"},
        {QKeySequence(Qt::CTRL | Qt::Key_Left), "Previous song"},
        {QKeySequence(Qt::CTRL | Qt::Key_Right), "Next song"},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), "Back 10 seconds"},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), "Forward 10 seconds"},
        {QKeySequence(Qt::CTRL | Qt::Key_F), "The search window"},
        {QKeySequence(Qt::Key_MediaTogglePlayPause), "Play or pause"},
        {QKeySequence(Qt::Key_MediaPlay), "Play"},
        {QKeySequence(Qt::Key_MediaPause), "Pause"},
        {QKeySequence(Qt::Key_MediaStop), "Stop"},
        {QKeySequence(Qt::Key_MediaNext), "Next song"},
        {QKeySequence(Qt::Key_MediaPrevious), "Previous song"},
    };
    const std::function<void()> actions[] = {
        [this] { commands_->playPause(); },   [this] { commands_->previous(); },
        [this] { commands_->next(); },        [this] { commands_->seekBy(-10000); },
        [this] { commands_->seekBy(10000); }, [this] { showSearchWindow(); },
        [this] { commands_->playPause(); },   [this] { commands_->play(); },
        [this] { commands_->pause(); },       [this] { commands_->stop(); },
        [this] { commands_->next(); },        [this] { commands_->previous(); },
    };
    static_assert(std::size(keys) == std::size(actions));
    for (size_t i = 0; i < std::size(keys); ++i) {
        auto* shortcut = new QShortcut(keys[i].keys, this);
        shortcut->setObjectName(QStringLiteral("key ") + keys[i].keys.toString());
        connect(shortcut, &QShortcut::activated, this, actions[i]);
    }

    QString help;
    for (const PlayingKey& key : keys)
        help += key.keys.toString(QKeySequence::NativeText) + QStringLiteral("\t") +
                QLatin1String(key.what) + u'\n';
    help += QStringLiteral("Ctrl+Return\tPlay the selected songs next\n"
                           "Alt+Up, Alt+Down, Delete\tMove or remove a song of the queue\n"
                           "Ctrl+U\tThe queue\n"
                           "F5\tRead the catalog again");
    keyboardAction_ = new QAction(QStringLiteral("&Keyboard"), this);
    helpMenu_->insertAction(helpMenu_->actions().value(0), keyboardAction_);
    connect(keyboardAction_, &QAction::triggered, this, [this, help] {
        state_.services.ui.message(help, QStringLiteral("Keyboard"), MsgIcon::Information,
                                   MsgButtons::Ok);
    });
}

void MainWindow::showPlayOrder() {
    const QSignalBlocker quietShuffle(shuffleButton_), quietRepeat(repeatButton_);
    shuffleButton_->setChecked(commands_->shuffle());
    shuffleButton_->setToolTip(commands_->shuffle() ? QStringLiteral("Shuffle: on")
                                                    : QStringLiteral("Shuffle: off"));
    const Repeat repeat = commands_->repeat();
    repeatButton_->setChecked(repeat != Repeat::Off);
    repeatButton_->setIcon(
        PanelIcon(repeat == Repeat::Song ? PanelPicture::RepeatSong : PanelPicture::Repeat));
    repeatButton_->setToolTip(repeat == Repeat::Off    ? QStringLiteral("Repeat: off")
                              : repeat == Repeat::List ? QStringLiteral("Repeat: the list")
                                                       : QStringLiteral("Repeat: the song"));
}

} // namespace tarl
