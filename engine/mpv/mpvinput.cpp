#include "engine/mpv/mpvinput.h"

namespace MpvInput {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

const char* mpvButtonName(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return "MBTN_LEFT";
    case Qt::RightButton:
        return "MBTN_RIGHT";
    case Qt::MiddleButton:
        return "MBTN_MID";
    default:
        return nullptr;
    }
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace MpvInput
