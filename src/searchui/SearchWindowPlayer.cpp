// The search window's Mini Player strip: "stopButton" and the seek knob `positionKnob` for the
// track the player is playing, hidden under miniPlayer until a track is played from the list. Its
// own timer follows the player while the main window's timers are off.
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

    positionKnob = new QLabel(this);
    positionKnob->setObjectName(QStringLiteral("positionKnob"));
    positionKnob->setFrameShape(QFrame::Panel);
    positionKnob->setFrameShadow(QFrame::Raised);
    positionKnob->setAutoFillBackground(true);
    positionKnob->setToolTip(QStringLiteral("Position"));
    positionKnob->setGeometry(ToPixels(MiniKnobMin), ToPixels(StripTop + 60), ToPixels(KnobWidth),
                              ToPixels(255));
    positionKnob->installEventFilter(this);
    positionKnobLeft_ = MiniKnobMin;

    stopButton = new QLabel(QStringLiteral("stopButton"), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->setCursor(Qt::PointingHandCursor);
    stopButton->setGeometry(ToPixels(MiniKnobMax + KnobWidth + 120), ToPixels(StripTop + 60),
                            ToPixels(600), ToPixels(255));
    stopButton->installEventFilter(this);

    // Covers the strip until a track is played from the list.
    miniPlayer = new QFrame(this);
    miniPlayer->setObjectName(QStringLiteral("miniPlayer"));
    miniPlayer->setAutoFillBackground(true);
    miniPlayer->setGeometry(ToPixels(1320), ToPixels(StripTop), ToPixels(4695), ToPixels(375));
    miniPlayer->raise();

    miniPlayerTimer = new QTimer(this);
    miniPlayerTimer->setObjectName(QStringLiteral("miniPlayerTimer"));
    miniPlayerTimer->setInterval(200);
    connect(miniPlayerTimer, &QTimer::timeout, this, &SearchWindow::miniPlayerTick);
}

void SearchWindow::moveMiniKnob(double left) {
    positionKnobLeft_ = left;
    positionKnob->move(ToPixels(left), positionKnob->y());
}

void SearchWindow::stopClicked() {
    state_.playerPid = state_.services.player.findWindow();
    state_.services.player.stop(state_.playerPid);
}

void SearchWindow::positionPressed() {
    dragging_ = true;
}

void SearchWindow::positionDragged(double x) {
    if (!dragging_)
        return;
    if (const std::optional<double> left = MiniKnobDragged(positionKnobLeft_, x))
        moveMiniKnob(*left);
}

void SearchWindow::positionReleased() {
    if (!dragging_)
        return;
    state_.playerPid = state_.services.player.findWindow();
    const qint64 length = state_.services.player.lengthSeconds(state_.playerPid);
    const qint64 ms = MiniSeekMs(positionKnobLeft_, length);
    state_.services.player.seekTo(state_.playerPid, ms);
    if (length > 0)
        moveMiniKnob(MiniKnobAfterSeek(ms, length));
    dragging_ = false;
}

void SearchWindow::miniPlayerTick() {
    if (dragging_)
        return;
    state_.playerPid = state_.services.player.findWindow();
    const qint64 length = state_.services.player.lengthSeconds(state_.playerPid);
    const qint64 seconds =
        std::llround(double(state_.services.player.positionMs(state_.playerPid)) / 1000.0);
    moveMiniKnob(MiniKnobFollowing(seconds, length));
}

} // namespace tarl
