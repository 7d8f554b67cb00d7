// The player's answers to the engine that the main window's pieces give: how wide the seek
// fill is, and full screen or the windowed settings.
#pragma once

#include <optional>

class MediaEngine;

namespace PlaybackDisplay {

// Width of the seek fill in twips; nothing while the duration gives no fraction.
std::optional<int> seekFillWidth(double position, double duration, int barWidth);

// Outside full screen the engine goes back to its windowed settings. Returns true when it
// did (the caller clears the controls check mark).
bool applyWindowedMode(MediaEngine& engine);

// Full screen on or off with the engine's control bar; returns the new check mark.
bool toggleFullScreen(MediaEngine& engine);

} // namespace PlaybackDisplay
