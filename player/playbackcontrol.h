// The player's answers to the engine: which glyph the play button shows, whether the
// progress timer runs, when a file has ended, and how wide the seek fill is.
#pragma once

#include <QString>
#include <optional>

class MediaEngine;

namespace Playback {

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

// Width of the seek fill in twips; nothing while the duration gives no fraction.
std::optional<int> seekFillWidth(double position, double duration, int barWidth);

// The play button: halts while playing, plays otherwise; nothing while no length is known.
void togglePlay(MediaEngine& engine);

// Previous and next act only on a playlist of more than one entry (its count caption).
bool stepAllowed(const QString& totalFilesCaption);

// Outside full screen the engine goes back to its windowed settings. Returns true when it
// did (the caller clears the controls check mark).
bool applyWindowedMode(MediaEngine& engine);

// Full screen on or off with the engine's control bar; returns the new check mark.
bool toggleFullScreen(MediaEngine& engine);

} // namespace Playback
