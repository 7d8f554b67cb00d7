// One mpv core and the calls the engine makes to it. Nothing here blocks: a request carries a
// tag, and its reply comes back later as an event.
#pragma once

#include <QLoggingCategory>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <mpv/client.h>
#include <utility>

Q_DECLARE_LOGGING_CATEGORY(lcMpv)

// Replies to asynchronous requests carry the open they belong to and what was asked.
enum class Request : std::uint64_t
{
    None = 0,
    Load,
    Seek,
    Duration,
    VideoTrack,
    ContainerWidth,
    ContainerHeight,
    VideoWidth,
    VideoHeight,
    Restarted,
    AudioTrack,
    // A subtitle file the user gave to the open file, and the track list that shows its id.
    Subtitle,
    SubtitleTracks,
    FileFormat,
    // The track list once a film is open, to find the subtitle files beside it mpv could not read.
    BesideTracks,
};

constexpr std::uint64_t tagFor(Request request, std::uint64_t generation)
{
    return generation << 8 | static_cast<std::uint64_t>(request);
}

constexpr Request requestOf(std::uint64_t tag)
{
    return static_cast<Request>(tag & 0xff);
}

constexpr std::uint64_t generationOf(std::uint64_t tag)
{
    return tag >> 8;
}

// A value mpv hands over, as Qt holds it (a node as lists and maps); invalid for formats the
// engine never asks for.
QVariant fromMpv(mpv_format format, const void* data);

class MpvClient
{
public:
    // Makes the core; false when mpv could not.
    bool create();
    // Starts the core once its options are set; on failure the core is gone.
    bool initialize();
    explicit operator bool() const { return m_handle != nullptr; }
    mpv_handle* handle() const { return m_handle.get(); }

    void setOption(const char* name, const QString& value);
    // Calls without a core do nothing.
    void setPropertyAsync(const char* name, const QVariant& value);
    void commandAsync(const QVariantList& args, std::uint64_t tag = 0);
    // One option of a file, name and value. A value goes to mpv whole: a path holding commas
    // or colons stays one path.
    using FileOption = std::pair<const char*, QString>;
    // loadfile path replace, with options for that file alone; a name may come more than once.
    void loadFileAsync(const QString& path, const QList<FileOption>& options, std::uint64_t tag);
    void getPropertyAsync(const char* name, mpv_format format, std::uint64_t tag);
    // To the start trace: mpv's counts of the open file's frames not shown in time (dropped by
    // the decoder, dropped by the video output as late, shown late). Before a stop resets them.
    void traceLateFrames() const;

private:
    struct Deleter
    {
        void operator()(mpv_handle* handle) const;
    };

    std::unique_ptr<mpv_handle, Deleter> m_handle;
};
