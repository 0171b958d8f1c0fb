#pragma once

#include <QIcon>

namespace tarl {

// Tarl's picture, the one the desktop entry installs as tarl.svg: a dark disc with a golden
// double note. Drawn from shapes at whatever size and density it is shown, so the window icon,
// the tray icon and the About window stay sharp on any screen.
QIcon TarlIcon();

// The player panel's buttons, drawn from shapes as the picture is: play, pause, previous, stop,
// next, and the speaker beside the volume knob.
enum class PanelPicture { Play, Pause, Previous, Stop, Next, Speaker, Shuffle, Repeat, RepeatSong };
QIcon PanelIcon(PanelPicture picture);

} // namespace tarl
