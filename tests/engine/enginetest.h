// Small helpers shared by the engine tests: where the committed clips are, and how long to
// wait for the engine.
#pragma once

#include "engine/mpvengine.h"

#include <QString>

namespace enginetest {

inline QString clip(const char* name)
{
    return QStringLiteral(ORVELLA_MEDIA_DIR "/") + QLatin1String(name);
}

// Generous: the tests run with sanitizers, two at a time, on software OpenGL.
constexpr int kTimeoutMs = 15000;

} // namespace enginetest
