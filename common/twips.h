// Window geometry is reasoned about in twips (1440 per inch); pixels only at the widgets.
#pragma once

#include <QRect>
#include <cmath>

namespace Twips {

inline constexpr int perInch = 1440;

// Twips per pixel for a screen of the given logical DPI (15 at 96 DPI).
inline double perPixel(double logicalDpi)
{
    return logicalDpi > 0 ? perInch / logicalDpi : 15.0;
}

inline int toPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

inline int fromPixels(double pixels, double twipsPerPixel)
{
    return static_cast<int>(std::lround(pixels * twipsPerPixel));
}

inline QRect toPixels(const QRect& twips, double tppX, double tppY)
{
    return {toPixels(twips.x(), tppX), toPixels(twips.y(), tppY), toPixels(twips.width(), tppX),
            toPixels(twips.height(), tppY)};
}

} // namespace Twips
