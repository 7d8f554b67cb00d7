#include "controls/modlocksize.h"

#include "window/twips.h"

#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace modLockSize {

namespace {
QPointer<QWidget> lockedWindow;
} // namespace

QSize trackSizePixels(int widthTwips, int heightTwips, double tppX, double tppY)
{
    return {static_cast<int>(std::nearbyint(widthTwips / tppX)),
            static_cast<int>(std::nearbyint(heightTwips / tppY))};
}

void LockWindowSize(QWidget* window, int MinWidth, int MinHeight, int MaxWidth, int MaxHeight)
{
    if (!window)
        return;
    lockedWindow = window;
    const QScreen* screen = window->screen();
    const double tppX = Twips::perPixel(screen ? screen->logicalDotsPerInchX() : 96.0);
    const double tppY = Twips::perPixel(screen ? screen->logicalDotsPerInchY() : 96.0);
    window->setMinimumSize(trackSizePixels(MinWidth, MinHeight, tppX, tppY));
    if (MaxWidth != 0)
        window->setMaximumSize(trackSizePixels(MaxWidth, MaxHeight, tppX, tppY));
}

void UnlockWindowSize()
{
    if (!lockedWindow)
        return;
    lockedWindow->setMinimumSize(0, 0);
    lockedWindow->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    lockedWindow.clear();
}

} // namespace modLockSize
