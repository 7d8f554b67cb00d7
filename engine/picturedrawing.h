// How the picture is drawn. mpv itself declines an OpenGL that the processor draws (Mesa's
// llvmpipe on a machine or server without a graphics card): that path costs about twice the
// memory and processor time of scaling the picture in software and painting it.
#pragma once

#include <QSize>
#include <QStringView>
#include <chrono>
#include <cstdint>

namespace PictureDrawing {

enum class Kind
{
    OpenGl,
    Software
};

// asked: ORVELLA_RENDER ("opengl" or "software"; anything else chooses by the machine).
// softwareGlAsked: LIBGL_ALWAYS_SOFTWARE is set. directRendering: the display can hand OpenGL to
// a graphics card.
Kind choose(QStringView asked, bool softwareGlAsked, bool directRendering);

// The size to draw a picture that fills wanted device pixels at: wanted itself, or, where it is
// larger than the largest screen (a big picture zoomed) or than 2^31 bytes of 32-bit pixels,
// the largest size of the same shape within both. Beyond that the view scales the image up.
QSize boundedSize(QSize wanted, QSize largestScreen);

// How long a frame drawn ahead waits to be shown: until showAtUs, mpv's time for it (0 for a
// redraw, shown at once), from nowUs on the same clock. mpv hands frames over 50 ms ahead at
// most; a time further off than longestWait is not waited for beyond it.
constexpr std::chrono::microseconds longestWait{200'000};
std::chrono::microseconds waitBeforeShowing(std::int64_t showAtUs, std::int64_t nowUs);

} // namespace PictureDrawing
