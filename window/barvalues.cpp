#include "window/barvalues.h"

#include <cmath>

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

double fillWidthFor(double x, double currentWidth)
{
    return x < 0 ? currentWidth : x;
}

} // namespace BarValues
