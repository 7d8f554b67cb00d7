// The flat faces the program's windows and controls are painted in.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace Face {

inline const QColor dark(0x40, 0x40, 0x40);  // windows, tracks, empty bars
inline const QColor light(0xc0, 0xc0, 0xc0); // fills and thumbs

// The small fixed face of captions and hints: the labels are sized for it, so text in it
// fits them whatever font size the desktop asks for.
inline QFont smallFont(bool bold = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(9);
    f.setBold(bold);
    return f;
}

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
