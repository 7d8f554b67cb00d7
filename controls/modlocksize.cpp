#include "controls/modlocksize.h"

#include "controls/screentwips.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace modLockSize {

namespace {
QPointer<QWidget> lockedWindow;
QSize lockedMinimum;
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
    lockedMinimum = trackSizePixels(MinWidth, MinHeight, tpp.x, tpp.y);
    handle->setMinimumSize(lockedMinimum);
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

void resizeOwn(QWidget& window, QSize pixels)
{
    QWindow* handle = &window == lockedWindow ? window.windowHandle() : nullptr;
    // Lowered before the resize, which a window manager holds to the hints it has; raised
    // after it, as a window manager fits the window to new hints at once.
    if (handle)
        handle->setMinimumSize(handle->minimumSize().boundedTo(pixels));
    window.resize(pixels);
    if (handle)
        handle->setMinimumSize(lockedMinimum.boundedTo(pixels));
}

} // namespace modLockSize
