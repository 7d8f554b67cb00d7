#include "controls/modlocksize.h"

#include "controls/screentwips.h"

#include <QPointer>
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
    const TwipsPerPixel tpp = twipsPerPixel(window);
    window->setMinimumSize(trackSizePixels(MinWidth, MinHeight, tpp.x, tpp.y));
    if (MaxWidth != 0)
        window->setMaximumSize(trackSizePixels(MaxWidth, MaxHeight, tpp.x, tpp.y));
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
