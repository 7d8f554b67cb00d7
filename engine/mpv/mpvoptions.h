// The options mpv starts with, in one list: what a file may make mpv do, and how it plays for
// the player.
#pragma once

#include <QString>

class MpvClient;

namespace MpvOptions {

// Before the core is initialised. video: pictures go to the player's renderer; otherwise mpv
// draws nothing. audioOutput: mpv's audio outputs, tried in order.
void setAtStart(MpvClient& client, bool video, const QString& audioOutput);

// The hardware decoders mpv may try (its hwdec), copied back to memory.
QString hardwareDecoding();

} // namespace MpvOptions
