#include "player/playbackcontrol.h"

#include "engine/mediaengine.h"

#include <algorithm>

namespace PlayRules {

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

void togglePlay(MediaEngine& engine)
{
    if (engine.Duration() == 0)
        return;
    if (engine.PlayState() == PlayStates::Playing)
        engine.Pause();
    else
        engine.Play();
}

std::optional<double> steppedPosition(double position, double duration, double seconds)
{
    if (!(duration > 0))
        return std::nullopt;
    return std::clamp(position + seconds, 0.0, duration);
}

} // namespace PlayRules
