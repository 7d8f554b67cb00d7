#include "window/barvalues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace BarValues {

std::optional<double> seekTarget(double duration, double fillWidth, double barWidth)
{
    if (barWidth == 0)
        return std::nullopt;
    const double target = (duration / 100) * ((fillWidth / barWidth) * 100);
    if (!std::isfinite(target))
        return std::nullopt;
    return target;
}

std::optional<int> volume(double fillWidth, double barWidth)
{
    if (barWidth == 0)
        return std::nullopt;
    const double value = (7500.0 / 100) * ((fillWidth / barWidth) * 100) - 7500;
    // A fill far past the bar would not fit the engine's 32-bit value.
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(std::nearbyint(value));
}

double volumeFraction(int volume)
{
    return double(volume - silentVolume) / (fullVolume - silentVolume);
}

int steppedVolume(int volume, int steps)
{
    const long long stepped = volume + static_cast<long long>(steps) * volumeStep;
    return static_cast<int>(std::clamp<long long>(stepped, silentVolume, fullVolume));
}

double fillWidthFor(double x, double currentWidth)
{
    return x < 0 ? currentWidth : x;
}

} // namespace BarValues
