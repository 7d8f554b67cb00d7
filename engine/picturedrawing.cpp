#include "engine/picturedrawing.h"

#include <algorithm>
#include <cmath>

namespace PictureDrawing {

Kind choose(QStringView asked, bool softwareGlAsked, bool directRendering)
{
    if (asked.compare(u"opengl", Qt::CaseInsensitive) == 0)
        return Kind::OpenGl;
    if (asked.compare(u"software", Qt::CaseInsensitive) == 0)
        return Kind::Software;
    return directRendering && !softwareGlAsked ? Kind::OpenGl : Kind::Software;
}

QSize boundedSize(QSize wanted, QSize largestScreen)
{
    constexpr double maxPixels = double(1u << 31) / 4;
    const double width = std::max(wanted.width(), 1);
    const double height = std::max(wanted.height(), 1);
    double scale = std::sqrt(maxPixels / (width * height));
    if (largestScreen.width() > 0 && largestScreen.height() > 0)
        scale = std::min({scale, largestScreen.width() / width, largestScreen.height() / height});
    if (scale >= 1)
        return {int(width), int(height)};
    return {std::max(1, int(width * scale)), std::max(1, int(height * scale))};
}

std::chrono::microseconds waitBeforeShowing(std::int64_t showAtUs, std::int64_t nowUs)
{
    if (showAtUs <= 0 || showAtUs <= nowUs)
        return std::chrono::microseconds{0};
    return std::min(std::chrono::microseconds{showAtUs - nowUs}, longestWait);
}

} // namespace PictureDrawing
