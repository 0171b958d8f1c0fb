// The search window's Mini Player strip: "STOP" and the seek knob `progres` for the track the
// player is playing, hidden under Frame1 until a track is played from the list. Its own timer
// follows the player while the main window's timers are off.
#include "searchui/SearchWindow.h"

#include "platform/PlayerLink.h"
#include "searchui/FindRules.h"
#include "state/AppState.h"
#include "state/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

#include <cmath>

namespace tarl {

namespace {
constexpr double StripTop = 1920;
constexpr double KnobWidth = 495;
} // namespace

void SearchWindow::buildMiniPlayer() {
    miniCaption = new QLabel(QStringLiteral("Mini Player"), this);
    miniCaption->setObjectName(QStringLiteral("miniCaption"));
    miniCaption->setGeometry(ToPixels(120), ToPixels(StripTop + 60), ToPixels(1150), ToPixels(255));

    auto* seekTrack = new QFrame(this);
    seekTrack->setObjectName(QStringLiteral("seekTrack"));
    seekTrack->setFrameShape(QFrame::HLine);
    seekTrack->setGeometry(ToPixels(MiniKnobMin), ToPixels(StripTop + 150),
                           ToPixels(MiniKnobTrack + KnobWidth), ToPixels(60));

    progres = new QLabel(this);
    progres->setObjectName(QStringLiteral("progres"));
    progres->setFrameShape(QFrame::Panel);
    progres->setFrameShadow(QFrame::Raised);
    progres->setAutoFillBackground(true);
    progres->setToolTip(QStringLiteral("Position"));
    progres->setGeometry(ToPixels(MiniKnobMin), ToPixels(StripTop + 60), ToPixels(KnobWidth),
                         ToPixels(255));
    progres->installEventFilter(this);
    progresLeft_ = MiniKnobMin;

    STOP = new QLabel(QStringLiteral("STOP"), this);
    STOP->setObjectName(QStringLiteral("STOP"));
    STOP->setCursor(Qt::PointingHandCursor);
    STOP->setGeometry(ToPixels(MiniKnobMax + KnobWidth + 120), ToPixels(StripTop + 60),
                      ToPixels(600), ToPixels(255));
    STOP->installEventFilter(this);

    // Covers the strip until a track is played from the list.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAutoFillBackground(true);
    Frame1->setGeometry(ToPixels(1320), ToPixels(StripTop), ToPixels(4695), ToPixels(375));
    Frame1->raise();

    timerMini = new QTimer(this);
    timerMini->setObjectName(QStringLiteral("timerMini"));
    timerMini->setInterval(200);
    connect(timerMini, &QTimer::timeout, this, &SearchWindow::timerMini_Timer);
}

qint64 SearchWindow::askPlayer(qint64 wParam, qint64 lParam) {
    return state_.services.player.sendMessage(state_.playerPid, player_msg::WmUser, wParam, lParam);
}

void SearchWindow::moveProgres(double left) {
    progresLeft_ = left;
    progres->move(ToPixels(left), progres->y());
}

void SearchWindow::STOP_Click() {
    state_.playerPid = state_.services.player.findWindow();
    state_.services.player.sendMessage(state_.playerPid, player_msg::WmCommand, player_msg::Stop,
                                       0);
}

void SearchWindow::progres_MouseDown() {
    dragging_ = true;
}

void SearchWindow::progres_MouseMove(double x) {
    if (!dragging_)
        return;
    if (const std::optional<double> left = MiniKnobDragged(progresLeft_, x))
        moveProgres(*left);
}

void SearchWindow::progres_MouseUp() {
    if (!dragging_)
        return;
    state_.playerPid = state_.services.player.findWindow();
    const qint64 length = askPlayer(1, player_msg::GetTime);
    const qint64 ms = MiniSeekMs(progresLeft_, length);
    askPlayer(ms, player_msg::JumpToTime);
    if (length > 0)
        moveProgres(MiniKnobAfterSeek(ms, length));
    dragging_ = false;
}

void SearchWindow::timerMini_Timer() {
    if (dragging_)
        return;
    state_.playerPid = state_.services.player.findWindow();
    const qint64 length = askPlayer(1, player_msg::GetTime);
    const qint64 seconds = std::llround(double(askPlayer(0, player_msg::GetTime)) / 1000.0);
    moveProgres(MiniKnobFollowing(seconds, length));
}

} // namespace tarl
