// How the picture is drawn. mpv itself declines an OpenGL that the processor draws (Mesa's
// llvmpipe on a machine or server without a graphics card): that path costs about twice the
// memory and processor time of scaling the picture in software and painting it.
#pragma once

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

} // namespace PictureDrawing
