#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace tarl {

struct AppState;

// The player panel's knobs slide over tracks measured in twips (their left positions).
inline constexpr double PositionKnobMin = 2640;
inline constexpr double PositionKnobMax = 4240;
inline constexpr double PositionKnobTrack = PositionKnobMax - PositionKnobMin; // 1600
inline constexpr double VolumeKnobMin = 2690;
inline constexpr double VolumeKnobMax = 3320;
inline constexpr double VolumeKnobTrack = VolumeKnobMax - VolumeKnobMin; // 630

// Where the position knob stands for `positionSeconds` of a track `lengthSeconds` long:
// the start of its track when the length is unknown, never beyond either end.
double PositionKnobLeft(qint64 positionSeconds, qint64 lengthSeconds);
// The milliseconds the position knob at `knobLeft` stands for in a track of `lengthSeconds`.
qint32 SeekMsForKnob(double knobLeft, qint64 lengthSeconds);
// The volume (0..255) of the volume knob at `knobLeft`, and back.
qint16 VolumeForKnob(double knobLeft);
double VolumeKnobLeft(int volume);

// What the panel changes on the window.
class PanelView {
public:
    virtual ~PanelView() = default;
    // Moves knob 5 (position) or 6 (volume) to a left position in twips.
    virtual void moveKnob(int element, double leftTwips) = 0;
    virtual void setStatusPanel(int panel, const QString& text) = 0;
};

// The panel's buttons panelButtons 0 to 4 (play, pause, previous, stop, next: they act on press)
// and its two knobs panelButtons 5 (position: seeks on release) and 6 (volume: sets it while
// moving, saves it on release). Every handler looks the player up first.
class PlayerPanel {
public:
    PlayerPanel(AppState& state, PanelView& view);

    // x is the pointer's position inside the element, in twips.
    void buttonPressed(int index);
    void buttonDragged(int index, double x);
    void buttonReleased(int index);

    bool positionDragging() const { return positionDragging_; }
    bool volumeDragging() const { return volumeDragging_; }
    double positionKnob() const { return positionKnob_; }
    double volumeKnob() const { return volumeKnob_; }
    void setPositionKnob(double left);
    void setVolumeKnob(double left);

    // Play (false) or next (true) pressed while no player answers: the player is brought back
    // (PlayerCommands). Unset, the press does nothing.
    std::function<void(bool next)> playerGone;

private:
    void findPlayer();

    AppState& state_;
    PanelView& view_;
    bool positionDragging_ = false;
    bool volumeDragging_ = false;
    double positionKnob_ = PositionKnobMin;
    double volumeKnob_ = VolumeKnobMin;
};

} // namespace tarl
