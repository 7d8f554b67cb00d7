// The flat faces the program's windows and controls are painted in.
#pragma once

#include <QColor>
#include <QWidget>

namespace Face {

inline const QColor dark(0x40, 0x40, 0x40);  // windows, tracks, empty bars
inline const QColor light(0xc0, 0xc0, 0xc0); // fills and thumbs

// Fills the widget's background with colour; text, where given, in textColour.
inline void paint(QWidget& widget, const QColor& colour, const QColor& textColour = QColor())
{
    widget.setAutoFillBackground(true);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    if (textColour.isValid())
        palette.setColor(QPalette::WindowText, textColour);
    widget.setPalette(palette);
}

} // namespace Face
