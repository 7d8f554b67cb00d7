// How the picture is drawn. mpv itself declines an OpenGL that the processor draws (Mesa's
// llvmpipe on a machine or server without a graphics card): that path costs about twice the
// memory and processor time of scaling the picture in software and painting it.
#pragma once

#include <QSize>
#include <QStringView>

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

} // namespace PictureDrawing
