// The view's mouse and keys as they are passed on: to mpv by its key names, to the player as
// the codes of the engine's MouseDown and KeyUp.
#pragma once

#include <Qt>

namespace MpvInput {

// MouseDown's button: 1 left, 2 right, 4 middle; 0 for any other.
int buttonCode(Qt::MouseButton button);
// mpv's name for the button; null for one mpv is not told of.
const char* mpvButtonName(Qt::MouseButton button);
// The shift of MouseDown and KeyUp: 1 Shift, 2 Ctrl, 4 Alt.
int shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace MpvInput
