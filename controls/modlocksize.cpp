#include "controls/modlocksize.h"

#include "controls/screentwips.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>
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

// The limits go to the window system as size hints, so they bind the user's sizing (the grip,
// the window manager) but not the program's own resizes: a zoom may ask for less.
void LockWindowSize(QWidget* window, int MinWidth, int MinHeight, int MaxWidth, int MaxHeight)
{
    if (!window)
        return;
    lockedWindow = window;
    window->winId(); // the native window carries the hints
    QWindow* handle = window->windowHandle();
    const TwipsPerPixel tpp = twipsPerPixel(window);
    handle->setMinimumSize(trackSizePixels(MinWidth, MinHeight, tpp.x, tpp.y));
    if (MaxWidth != 0)
        handle->setMaximumSize(trackSizePixels(MaxWidth, MaxHeight, tpp.x, tpp.y));
}

void UnlockWindowSize()
{
    if (!lockedWindow)
        return;
    if (QWindow* handle = lockedWindow->windowHandle()) {
        handle->setMinimumSize(QSize(0, 0));
        handle->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }
    lockedWindow.clear();
}

} // namespace modLockSize
