#include "player/PlayerPanel.h"

#include "platform/PlayerLink.h"
#include "state/AppState.h"
#include "state/Convert.h"
#include "state/SettingKeys.h"
#include "state/Twips.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarl {

double PositionKnobLeft(qint64 positionSeconds, qint64 lengthSeconds) {
    return KnobLeftFor(positionSeconds, lengthSeconds, PositionKnobMin, PositionKnobMax);
}

qint32 SeekMsForKnob(double knobLeft, qint64 lengthSeconds) {
    const double ms = RoundHalfEven((knobLeft - PositionKnobMin) * double(lengthSeconds) /
                                    PositionKnobTrack * 1000.0);
    // A track longer than 24 days would not fit the 32-bit position: its end is the limit.
    return static_cast<qint32>(std::clamp(ms, 0.0, double(std::numeric_limits<qint32>::max())));
}

qint16 VolumeForKnob(double knobLeft) {
    const double volume = RoundHalfEven((knobLeft - VolumeKnobMin) * 255.0 / VolumeKnobTrack);
    return static_cast<qint16>(std::clamp(volume, 0.0, 255.0));
}

double VolumeKnobLeft(int volume) {
    return VolumeKnobMin + double(std::clamp(volume, 0, 255)) * VolumeKnobTrack / 255.0;
}

PlayerPanel::PlayerPanel(AppState& state, PanelView& view) : state_(state), view_(view) {}

void PlayerPanel::findPlayer() {
    state_.playerPid = state_.services.player.findWindow();
}

void PlayerPanel::setPositionKnob(double left) {
    positionKnob_ = left;
    view_.moveKnob(5, left);
}

void PlayerPanel::setVolumeKnob(double left) {
    volumeKnob_ = left;
    view_.moveKnob(6, left);
}

void PlayerPanel::buttonPressed(int index) {
    findPlayer();
    PlayerLink& player = state_.services.player;
    const PlayerWindow window = state_.playerPid;
    if (window == 0 && (index == 0 || index == 4) && playerGone) {
        playerGone(index == 4);
        return;
    }
    // One button a line, as the panel shows them.
    // clang-format off
    switch (index) {
    case 0: player.play(window); break;
    case 1: player.pause(window); break;
    case 2: player.previous(window); break;
    case 3: player.stop(window); break;
    case 4: player.next(window); break;
    case 5: positionDragging_ = true; break;
    case 6: volumeDragging_ = true; break;
    default: break;
    }
    // clang-format on
}

void PlayerPanel::buttonDragged(int index, double x) {
    findPlayer();
    if (index == 5 && positionDragging_) {
        const double target = positionKnob_ + x - 60;
        if (target > PositionKnobMax)
            setPositionKnob(PositionKnobMax);
        else if (target < PositionKnobMin)
            setPositionKnob(PositionKnobMin);
        else if (target > positionKnob_ + 10 || target < positionKnob_ - 10)
            setPositionKnob(target);
    } else if (index == 6 && volumeDragging_) {
        setVolumeKnob(std::clamp(volumeKnob_ + x - 60, VolumeKnobMin, VolumeKnobMax));
        state_.playerVolume = VolumeForKnob(volumeKnob_);
        view_.setStatusPanel(1, QStringLiteral("Volum: ") + QString::number(state_.playerVolume));
        state_.services.player.setVolume(state_.playerPid, state_.playerVolume);
    }
}

void PlayerPanel::buttonReleased(int index) {
    findPlayer();
    if (index == 5 && positionDragging_) {
        const qint64 length = state_.services.player.lengthSeconds(state_.playerPid);
        const qint32 ms = SeekMsForKnob(positionKnob_, length);
        state_.services.player.seekTo(state_.playerPid, ms);
        if (length > 0)
            setPositionKnob(PositionKnobMin + 1.6 * double(ms) / double(length));
        positionDragging_ = false;
    } else if (index == 6 && volumeDragging_) {
        state_.settings.write(keys::Volume, QString::number(state_.playerVolume));
        volumeDragging_ = false;
    }
}

} // namespace tarl
