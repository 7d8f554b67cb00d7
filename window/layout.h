// Where the main window's controls go for a given window size, all in twips.
#pragma once

#include <QRect>

namespace Layout {

inline constexpr int glyphSize = 195;
inline constexpr int barHeight = 135;

struct MainWindow
{
    QRect lblOpen, lblPrev, lblPlay, lblNext, Label5;
    QRect Label4, Label3, Label2, Label1;
    QRect Position, Volume;
    QRect engine;
};

// The resize reply's placements for a window of width w and height h.
MainWindow mainWindow(int w, int h);

} // namespace Layout
