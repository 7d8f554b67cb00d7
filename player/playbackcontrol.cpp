#include "player/playbackcontrol.h"

#include "engine/mediaengine.h"

#include <algorithm>
#include <cmath>

namespace Playback {

PlayButton playButtonFor(int playState)
{
    if (playState == PlayStates::Playing)
        return {QStringLiteral("g"), QStringLiteral("Pause"), true};
    return {QStringLiteral("8"), QStringLiteral("Play"), false};
}

bool reachedEnd(const QString& fileName, double duration, double position)
{
    return !fileName.isEmpty() && duration > 0 && position == duration;
}

std::optional<int> seekFillWidth(double position, double duration, int barWidth)
{
    if (!(duration > 0) || !std::isfinite(position) || !std::isfinite(duration))
        return std::nullopt;
    const double width = position / duration * barWidth;
    return static_cast<int>(std::lround(std::clamp(width, 0.0, double(barWidth))));
}

void togglePlay(MediaEngine& engine)
{
    if (engine.Duration() == 0)
        return;
    if (engine.PlayState() == PlayStates::Playing)
        engine.Pause();
    else
        engine.Play();
}

bool stepAllowed(const QString& totalFilesCaption)
{
    bool ok = false;
    const double n = totalFilesCaption.toDouble(&ok);
    return ok && n > 1;
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

} // namespace Playback
