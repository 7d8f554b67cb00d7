// Twips per pixel of the screen a widget is on, the one conversion every window uses.
#pragma once

class QWidget;

struct TwipsPerPixel
{
    double x = 15.0;
    double y = 15.0;
};

// 15 in both directions at 96 DPI; the primary screen's when the widget has none yet.
TwipsPerPixel twipsPerPixel(const QWidget* widget);
