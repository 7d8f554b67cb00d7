// What the seek and volume bars send to the engine, from the fill's width. The mouse sets
// the fill; the value always comes from the fill, and nothing is clamped at the right end:
// the engine limits what it receives.
#pragma once

#include <optional>

namespace BarValues {

// Volume at an empty and at a full fill, in hundredths of a decibel.
inline constexpr int silentVolume = -7500;
inline constexpr int fullVolume = 0;
// One step of the volume keys and the wheel: a twentieth of the bar, 3.75 dB.
inline constexpr int volumeStep = (fullVolume - silentVolume) / 20;

// Seconds to seek to; nothing when the bar has no width to divide by.
std::optional<double> seekTarget(double duration, double fillWidth, double barWidth);

// The engine's volume, rounded half to even; nothing when the bar has no width.
std::optional<int> volume(double fillWidth, double barWidth);

// How full the volume bar is at an engine volume: 0 silent, 1 full. volume(fraction, 1) is
// the way back; the desktop's volume slider uses both.
double volumeFraction(int volume);

// The volume steps away from volume, kept between silent and full.
int steppedVolume(int volume, int steps);

// A fill width the mouse asks for; a negative one is refused and the fill keeps its width.
double fillWidthFor(double x, double currentWidth);

} // namespace BarValues
