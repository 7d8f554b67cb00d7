#include "engine/picturedrawing.h"

namespace PictureDrawing {

Kind choose(QStringView asked, bool softwareGlAsked, bool directRendering)
{
    if (asked.compare(u"opengl", Qt::CaseInsensitive) == 0)
        return Kind::OpenGl;
    if (asked.compare(u"software", Qt::CaseInsensitive) == 0)
        return Kind::Software;
    return directRendering && !softwareGlAsked ? Kind::OpenGl : Kind::Software;
}

} // namespace PictureDrawing
