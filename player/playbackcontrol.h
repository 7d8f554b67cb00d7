// The player's answers to the engine: which glyph the play button shows, whether the
// progress timer runs, when a file has ended, and whether the play button acts.
#pragma once

#include <QString>
#include <optional>

class MediaEngine;

namespace PlayRules {

struct PlayButton
{
    QString caption; // the glyph character
    QString toolTip;
    bool timerOn;
};

// Pause glyph while playing, play glyph otherwise.
PlayButton playButtonFor(int playState);

// The end of a file: position equals a non-zero duration exactly. With nothing open both
// read 0, which is no end.
bool reachedEnd(const QString& fileName, double duration, double position);

// The play button: halts while playing, plays otherwise; nothing while no length is known.
void togglePlay(MediaEngine& engine);

// Where a jump of seconds from position lands, kept inside the file; nothing while no length
// is known.
std::optional<double> steppedPosition(double position, double duration, double seconds);

} // namespace PlayRules
