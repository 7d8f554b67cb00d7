// The main window's moves and sizes as plain arithmetic in twips: dragging by the surface,
// maximising to the work area and back, the zoom sizes, and where the attached playlist goes.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace WindowGeometry {

// Where a dragged window's top left goes so the press point stays under the mouse. The press
// point and the mouse are relative to the window's top left as it stands now.
QPoint dragged(QPoint windowTopLeft, QPoint pressPoint, QPoint mouse);

// A rectangle in pixels (the work area) in twips.
QRect toTwips(const QRect& pixels, double tppX, double tppY);

// The maximise toggle: the maximised flag and the rectangle to go back to.
class MaximiseToggle
{
public:
    bool maximised() const { return m_maximised; }
    QRect restoreRect() const { return m_restoreRect; }
    // Opening a file records the window's rectangle as the one to go back to. While
    // maximised that rectangle is the work area, which would make restoring do nothing.
    void recordRestoreRect(const QRect& windowTwips)
    {
        if (!m_maximised)
            m_restoreRect = windowTwips;
    }
    // The window's next rectangle: the work area when not maximised (recording the present
    // one), otherwise the recorded one.
    QRect toggle(const QRect& windowTwips, const QRect& workAreaTwips);

private:
    bool m_maximised = false;
    QRect m_restoreRect;
};

// The picture's native size in twips, from its size in pixels. A file without a picture (sound
// alone) counts as a picture 320 pixels wide and 0 high.
QSize pictureTwips(int widthPixels, int heightPixels, double tppX, double tppY);

// The zoom commands' percentages.
inline constexpr int zoomPercents[] = {50, 75, 100, 200};

struct ZoomChrome
{
    bool statusBarShown = false;
    bool controlsShown = false;
};

// The window size (twips) that shows a picture of the given native size (twips) at percent:
// 50 halves it, 75 takes two thirds, 200 doubles it; then room for the buttons and bars,
// the engine's status line and its control bar.
QSize zoomedWindow(int videoWidth, int videoHeight, int percent, double tppX, double tppY,
                   ZoomChrome chrome);

// The attached playlist's top left: centred under the main window, or with its bottom edge
// level with the main window's when it would leave the screen at the bottom.
QPoint dockedPlaylist(const QRect& mainWindow, const QSize& playlist, int screenBottom);

} // namespace WindowGeometry
