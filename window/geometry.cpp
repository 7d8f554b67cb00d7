#include "window/geometry.h"

#include "common/twips.h"

#include <cmath>
#include <cstdint>

namespace WindowGeometry {

namespace {

// Chrome around the picture, in pixels.
constexpr int chromeHeight = 54;
constexpr int chromeWidth = 8;
constexpr int statusLineHeight = 10;
constexpr int controlBarHeight = 16;

int roundedTwips(double twips)
{
    return static_cast<int>(std::lround(twips));
}

// Native size scaled for a zoom; 64-bit so that 200 % of a large picture cannot overflow.
double scaled(int native, int percent)
{
    switch (percent) {
    case 50:
        return native / 2.0;
    case 75:
        return native / 1.5;
    case 200:
        return static_cast<double>(std::int64_t{native} * 2);
    default:
        return native;
    }
}

} // namespace

QPoint dragged(QPoint windowTopLeft, QPoint pressPoint, QPoint mouse)
{
    return {windowTopLeft.x() - (pressPoint.x() - mouse.x()),
            windowTopLeft.y() - (pressPoint.y() - mouse.y())};
}

QRect toTwips(const QRect& pixels, double tppX, double tppY)
{
    return {roundedTwips(pixels.x() * tppX), roundedTwips(pixels.y() * tppY),
            roundedTwips(pixels.width() * tppX), roundedTwips(pixels.height() * tppY)};
}

QRect MaximiseToggle::toggle(const QRect& windowTwips, const QRect& workAreaTwips)
{
    if (m_maximised) {
        m_maximised = false;
        return m_restoreRect;
    }
    m_restoreRect = windowTwips;
    m_maximised = true;
    return workAreaTwips;
}

QSize zoomedWindow(int videoWidth, int videoHeight, int percent, double tppX, double tppY,
                   ZoomChrome chrome)
{
    const int extra = (chrome.statusBarShown ? statusLineHeight : 0) +
                      (chrome.controlsShown ? controlBarHeight : 0);
    const double height = scaled(videoHeight, percent) + (chromeHeight + extra) * tppY;
    const double width = scaled(videoWidth, percent) + chromeWidth * tppX;
    return {roundedTwips(width), roundedTwips(height)};
}

QPoint dockedPlaylist(const QRect& mainWindow, const QSize& playlist, int screenBottom)
{
    const std::int64_t bottom = std::int64_t{mainWindow.y()} + mainWindow.height();
    const bool wouldLeaveScreen = static_cast<float>(bottom + playlist.height()) > screenBottom;
    const std::int64_t top = wouldLeaveScreen ? bottom - playlist.height() : bottom;
    const double left =
        mainWindow.x() - playlist.width() + mainWindow.width() / 2.0 + playlist.width() / 2.0;
    return {roundedTwips(left), static_cast<int>(top)};
}

QSize pictureTwips(int widthPixels, int heightPixels, double tppX, double tppY)
{
    constexpr int noPictureWidthPixels = 320;
    if (heightPixels == 0)
        return {Twips::fromPixels(noPictureWidthPixels, tppX), 0};
    return {Twips::fromPixels(widthPixels, tppX), Twips::fromPixels(heightPixels, tppY)};
}

} // namespace WindowGeometry
