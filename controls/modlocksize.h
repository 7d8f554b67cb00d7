// Keeps a window from being sized below a minimum (and, when given, above a maximum).
#pragma once

#include <QSize>

class QWidget;

namespace modLockSize {

// Sizes in twips to whole pixels, halves rounded to even.
QSize trackSizePixels(int widthTwips, int heightTwips, double tppX, double tppY);

// Remembers the window and its limits (twips; MaxWidth 0 means no maximum) and applies them.
void LockWindowSize(QWidget* window, int MinWidth, int MinHeight, int MaxWidth, int MaxHeight);
// Takes the limits off the locked window again; nothing when none was locked.
void UnlockWindowSize();

// The program's own resize (a zoom): the minimum binds the user's sizing only, so while the
// window is smaller than it, the window system is told its size as the minimum.
void resizeOwn(QWidget& window, QSize pixels);

} // namespace modLockSize
