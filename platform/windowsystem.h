// What the window system lets the program do with its own windows. X11 lets a client place,
// size and map its windows as it likes; on Wayland the compositor decides, and the client only
// asks (to be maximised, to be activated).
#pragma once

namespace WindowSystem {

// Wayland: the compositor places the windows and holds their maximised and minimised state.
bool compositorDecides();

// Whether a minimised window can be brought back by the program itself (the desktop's raise):
// on X11 always; on Wayland only where the compositor offers activation (xdg_activation_v1).
bool canUnminimise();

} // namespace WindowSystem
