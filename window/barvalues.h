// What the seek bar sends to the engine, from the fill's width. The mouse sets the fill; the
// value always comes from the fill, and nothing is clamped at the right end: the engine limits
// what it receives. The volume bar's scale is Volume's (engine/volume.h).
#pragma once

#include <optional>

namespace BarValues {

// Seconds to seek to; nothing when the bar has no width to divide by.
std::optional<double> seekTarget(double duration, double fillWidth, double barWidth);

// A fill width the mouse asks for; a negative one is refused and the fill keeps its width.
double fillWidthFor(double x, double currentWidth);

} // namespace BarValues
