#include "engine/volume.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Volume {
namespace {
// Hundredths of a decibel per decade of a cubic scale: 20·log10(v³) dB.
constexpr double cubicDecade = 6000.0;

double cubic(int volume)
{
    return std::pow(10.0, std::min(volume, full) / cubicDecade);
}
} // namespace

std::optional<int> fromBar(double fillWidth, double barWidth)
{
    if (barWidth == 0)
        return std::nullopt;
    const double value = ((full - silence) / 100.0) * ((fillWidth / barWidth) * 100) + silence;
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(std::nearbyint(value));
}

double barFraction(int volume)
{
    return double(volume - silence) / (full - silence);
}

int stepped(int volume, int steps)
{
    const long long to = volume + static_cast<long long>(steps) * step;
    return static_cast<int>(std::clamp<long long>(to, silence, full));
}

double toBus(int volume)
{
    return volume <= silence ? 0.0 : cubic(volume);
}

int fromBus(double bus)
{
    if (!(bus > 0.0))
        return silence;
    const double volume = std::round(cubicDecade * std::log10(std::min(bus, 1.0)));
    return static_cast<int>(std::max(volume, double(silence)));
}

double toMpv(int volume)
{
    return 100.0 * cubic(volume);
}

} // namespace Volume
