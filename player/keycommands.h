// The keyboard and the wheel. The commands only keys reach (seeking, volume, mute) go to
// playback; every command with a key answers it in the main window, whichever of its children
// has the focus, and on the picture, which takes the keys along into full screen. The wheel on
// the picture or on the volume bar steps the volume. Other windows (the playlist's list) keep
// their keys.
#pragma once

class PlaybackController;
class PlayerActions;
class QWidget;

namespace KeyCommands {

// Seconds of the short and the long jump.
inline constexpr double shortSeek = 5;
inline constexpr double longSeek = 60;

void wire(const PlayerActions& actions, PlaybackController& playback, QWidget& window,
          QWidget* picture, QWidget& volumeBar);

} // namespace KeyCommands
