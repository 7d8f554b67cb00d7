#include "window/layout.h"

namespace Layout {

MainWindow mainWindow(int w, int h)
{
    const auto glyph = [](int left, int top) { return QRect(left, top, glyphSize, glyphSize); };
    MainWindow l;
    l.lblOpen = glyph(0, 0);
    l.lblPrev = glyph(180, 0);
    l.lblPlay = glyph(360, 0);
    l.lblNext = glyph(540, 0);
    l.Label5 = glyph(780, -15);
    l.Label4 = glyph(w - 585, 0);
    l.Label3 = glyph(w - 390, 0);
    l.Label2 = glyph(w - 195, 0);
    l.Label1 = glyph(w - 195, h - 195);
    const int positionWidth = w - 1095 - 60;
    l.Position = QRect(90, h - 190, positionWidth, barHeight);
    // Always 960 wide; it overlaps the seek bar's right end by 30.
    l.Volume = QRect(w - 1095, h - 190, w - (positionWidth + 195), barHeight);
    l.engine = QRect(60, 195, w - 150, h - 390);
    return l;
}

} // namespace Layout
