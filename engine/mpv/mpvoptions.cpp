#include "engine/mpv/mpvoptions.h"

#include "engine/mpv/mpvclient.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace MpvOptions {
namespace {

struct OptionValue
{
    const char* name;
    const char* value;
};

// mpv as a library still reads the user's mpv set-up and follows what files point to; none of
// that is the player's to allow.
constexpr OptionValue kLockedDown[] = {
    // No mpv.conf, input.conf or profiles of the user's own mpv.
    {"config", "no"},
    // No scripts from the user's mpv folder; the player's own overlays are asked for by name.
    {"load-scripts", "no"},
    // No socket through which another program could drive mpv.
    {"input-ipc-server", ""},
    // No web-page lookups through youtube-dl or yt-dlp.
    {"ytdl", "no"},
    // A file never makes mpv open another: playlists, EDL, HLS and reference files inside a
    // "movie" would otherwise reach the network or the disk before the open is refused.
    {"access-references", "no"},
    {"load-unsafe-playlists", "no"},
    // FFmpeg's own reach: a "movie" holding a session description (SDP) is opened by the sdp
    // demuxer, chosen by content, which listens on UDP ports of every interface and plays what
    // the network sends. mpv hands FFmpeg the file itself; any protocol FFmpeg would open on
    // its own is refused, for films and subtitle files alike.
    {"demuxer-lavf-o", "protocol_whitelist=file"},
    // No per-file option files from mpv's watch-later folder.
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
};

// NVIDIA's own driver brings a VDPAU driver of its name, the one libvdpau asks for where the X
// server names none (Xvfb, virtual machines).
bool nvidiaVdpauInstalled()
{
    QStringList folders{qEnvironmentVariable("VDPAU_DRIVER_PATH"), QStringLiteral("/usr/lib/vdpau"),
                        QStringLiteral("/usr/lib64/vdpau")};
    // Names matched by hand: a name filter would load Qt's regular expressions for this alone.
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& arch : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (arch.contains(QLatin1String("-linux-gnu")))
            folders.append(lib.filePath(arch + QStringLiteral("/vdpau")));
    }
    return std::any_of(folders.cbegin(), folders.cend(), [](const QString& folder) {
        return !folder.isEmpty() &&
               QFileInfo::exists(folder + QStringLiteral("/libvdpau_nvidia.so.1"));
    });
}

} // namespace

QString hardwareDecoding()
{
    // mpv's safe list ends with VDPAU, whose library prints its failure to load a driver on
    // standard error at every open where none of the others works. mpv 0.35 takes one name,
    // not a list: without NVIDIA's VDPAU driver (or VDPAU_DRIVER set), VA-API alone, which
    // Intel, AMD and Nouveau decode through.
    static const bool safeList =
        nvidiaVdpauInstalled() || !qEnvironmentVariableIsEmpty("VDPAU_DRIVER");
    return safeList ? QStringLiteral("auto-copy-safe") : QStringLiteral("vaapi-copy");
}

void setAtStart(MpvClient& client, bool video, const QString& audioOutput)
{
    // What a file may make mpv do. Files come from the internet: mpv opens the one local file
    // the player names (MediaGate checks it) and nothing else, whatever that file holds.
    for (const auto& [name, value] : kLockedDown)
        client.setOption(name, QString::fromLatin1(value));

    client.setOption("terminal", QStringLiteral("no"));
    client.setOption("idle", QStringLiteral("yes"));
    // Keeps the last picture and the position at the end instead of closing the file.
    client.setOption("keep-open", QStringLiteral("yes"));
    client.setOption("image-display-duration", QStringLiteral("inf"));
    // Some demuxers (MPEG program streams) seek past a keyframe they were asked to land
    // before; asked a second early, a jump lands where it should, not a second late.
    client.setOption("hr-seek-demuxer-offset", QStringLiteral("1"));
    // The engine's own keys must never quit; the view passes no keys to mpv.
    client.setOption("input-default-bindings", QStringLiteral("no"));
    client.setOption("input-vo-keyboard", QStringLiteral("no"));
    // The player shows what the file holds. mpv's search for cover pictures and subtitle files
    // beside it reads the whole folder at every open (a tenth of a second in a folder of
    // 100,000 files), and a cover would give a sound file a picture it does not have; the
    // engine asks for the few subtitle names a film can have itself (SubtitleProbe).
    client.setOption("cover-art-auto", QStringLiteral("no"));
    client.setOption("sub-auto", QStringLiteral("no"));
    client.setOption("load-osd-console", QStringLiteral("no"));
    client.setOption("audio-client-name", QStringLiteral("Orvella"));
    client.setOption("vo", video ? QStringLiteral("libmpv") : QStringLiteral("null"));
    // Pictures are decoded in software or copied back from the decoder; probing the
    // direct hardware paths at start-up costs time and finds nothing under Xvfb.
    client.setOption("gpu-hwdec-interop", QStringLiteral("no"));
    // The graphics card decodes where mpv counts its decoder as safe; a file it cannot take, or
    // a machine without one (Xvfb, a virtual machine), falls back to decoding in software.
    client.setOption("hwdec", hardwareDecoding());
    client.setOption("osc", video ? QStringLiteral("yes") : QStringLiteral("no"));
    client.setOption("load-stats-overlay", video ? QStringLiteral("yes") : QStringLiteral("no"));
    client.setOption("script-opts", QStringLiteral("osc-visibility=never,osc-idlescreen=no"));
    client.setOption("osd-level", QStringLiteral("1"));
    client.setOption("osd-status-msg",
                     QStringLiteral("${?eof-reached==yes:Stopped}${!eof-reached==yes:${?pause=="
                                    "yes:Paused}${!pause==yes:Playing}}  ${time-pos} / "
                                    "${duration}"));
    client.setOption("ao", audioOutput);
}

} // namespace MpvOptions
