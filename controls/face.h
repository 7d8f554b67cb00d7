// The flat faces the program's windows and controls are painted in.
#pragma once

#include "controls/screentwips.h"

#include <QColor>
#include <QFont>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace Face {

inline const QColor dark(0x40, 0x40, 0x40);  // windows, tracks, empty bars
inline const QColor light(0xc0, 0xc0, 0xc0); // fills and thumbs

// The small fixed face of hints: the labels are sized for it, so text in it fits them
// whatever font size the desktop asks for.
inline QFont smallFont(bool bold = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(9);
    f.setBold(bold);
    return f;
}

// A face every install has (fonts-dejavu-core), at a size given in twips and set in whole
// pixels of the screen widget is on, as the labels it fills are laid out.
inline QFont sizedFont(const QWidget* widget, int twips, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(twips / twipsPerPixel(widget).y))));
    f.setBold(bold);
    return f;
}

// Text captions and the playlist's title: 8.25 pt bold, 11 pixels at 96 dpi.
inline QFont captionFont(const QWidget* widget)
{
    return sizedFont(widget, 165, true);
}

// The playlist's entry count: three digits fit its label, 195 twips wide.
inline QFont countFont(const QWidget* widget)
{
    return sizedFont(widget, 90, false);
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
