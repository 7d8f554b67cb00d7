#include "window/playbackdisplay.h"

#include "engine/mediaengine.h"

#include <algorithm>
#include <cmath>

namespace PlaybackDisplay {

std::optional<int> seekFillWidth(double position, double duration, int barWidth)
{
    if (!(duration > 0) || !std::isfinite(position) || !std::isfinite(duration))
        return std::nullopt;
    const double width = position / duration * barWidth;
    return static_cast<int>(std::lround(std::clamp(width, 0.0, double(barWidth))));
}

bool applyWindowedMode(MediaEngine& engine)
{
    if (engine.DisplaySize() == DisplaySizes::FullScreen)
        return false;
    engine.setShowControls(false);
    engine.setDisplaySize(DisplaySizes::Fitted);
    return true;
}

bool toggleFullScreen(MediaEngine& engine)
{
    if (engine.DisplaySize() != DisplaySizes::FullScreen) {
        engine.setShowControls(true);
        engine.setDisplaySize(DisplaySizes::FullScreen);
        return true;
    }
    engine.setShowControls(false);
    engine.setDisplaySize(DisplaySizes::Fitted);
    return false;
}

} // namespace PlaybackDisplay
