// The file as the engine reports it. The open transaction settles the first part once per put;
// mpv's reports keep the second up to date while the file plays.
#pragma once

#include "engine/mediaengine.h"

#include <QString>
#include <cstdint>
#include <optional>

// How far opening a file has come (MpvEngine::OpenState and OpenStateChange).
namespace OpenStates {
constexpr int Closed = 0;
constexpr int Opening = 5;
constexpr int Open = 6;
} // namespace OpenStates

struct MpvFile
{
    // What the engine reports for the open file; changed only when an open ends.
    QString fileName;
    QString lastError;
    double duration = 0;
    int width = 0;
    int height = 0;
    bool isImage = false;
    int openState = OpenStates::Closed;
    int playState = PlayStates::Closed;

    // The playing file as mpv reports it.
    std::int64_t entryId = 0;
    double position = 0;
    bool paused = false;
    bool eofReached = false;
    // mpv ended the open file by itself; the engine holds it as stopped at its end.
    bool dropped = false;
    bool pausedForCache = false;
    std::optional<double> seekTarget;
};
