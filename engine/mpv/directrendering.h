// Whether this display can give OpenGL to a graphics card, asked without making a context (that
// alone would load the driver, and with llvmpipe all of LLVM).
#pragma once

namespace DirectRendering {

// A render node the user may open and, on X11, a server that offers DRI3 or DRI2. Xvfb, Xvnc
// and machines without a graphics card have neither.
bool available();

} // namespace DirectRendering
