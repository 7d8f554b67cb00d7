#include "engine/mpv/mpvsubtitles.h"

#include "engine/mediagate.h"
#include "engine/mpv/mpvclient.h"
#include "engine/subtitleprobe.h"

#include <QFileInfo>
#include <QVariantMap>
#include <algorithm>
#include <utility>

MpvSubtitles::MpvSubtitles(MpvClient& client) : m_client(client) {}

MpvSubtitles::Beside MpvSubtitles::beside(const QString& film)
{
    Beside found;
    for (const QString& path : SubtitleProbe::beside(film)) {
        const MediaGate::Verdict verdict = MediaGate::admitSubtitle(path);
        if (verdict.admitted())
            found.admitted.append(path);
        else
            found.refusals.append(verdict.refusal);
    }
    return found;
}

void MpvSubtitles::add(std::uint64_t generation, const QString& path)
{
    m_asked = path;
    // Added, not selected by sub-add itself: mpv 0.35 stops for good when a sub-add that
    // selects its track meets the next loadfile. Each part is a node of its own, so the
    // path is one path whatever it holds.
    m_client.commandAsync(
        {QStringLiteral("sub-add"), path, QStringLiteral("auto"), QFileInfo(path).fileName()},
        tagFor(Request::Subtitle, generation));
}

void MpvSubtitles::checkBeside(std::uint64_t generation, const QStringList& paths)
{
    m_beside = paths;
    m_client.getPropertyAsync("track-list", MPV_FORMAT_NODE,
                              tagFor(Request::BesideTracks, generation));
}

namespace {
// The subtitle tracks mpv read from files of their own, by file.
QStringList externalSubtitles(const QVariant& trackList)
{
    QStringList files;
    for (const QVariant& item : trackList.toList()) {
        const QVariantMap track = item.toMap();
        if (track.value(QStringLiteral("type")).toString() == QLatin1String("sub"))
            files.append(track.value(QStringLiteral("external-filename")).toString());
    }
    return files;
}
} // namespace

void MpvSubtitles::handleReply(std::uint64_t tag, int error, const QVariant& value, bool current)
{
    // A reply about a film since replaced changes nothing.
    if (!current)
        return;
    if (requestOf(tag) == Request::BesideTracks) {
        const QStringList read = externalSubtitles(value);
        for (const QString& path : std::as_const(m_beside)) {
            if (error >= 0 && !read.contains(path))
                emit refused(tr("Cannot show the subtitle file %1: not a subtitle file.")
                                 .arg(MediaGate::printable(QFileInfo(path).fileName())));
        }
        return;
    }
    if (requestOf(tag) == Request::Subtitle) {
        if (error < 0)
            emit refused(tr("Cannot show the subtitle file %1: %2")
                             .arg(MediaGate::printable(QFileInfo(m_asked).fileName()),
                                  QString::fromUtf8(mpv_error_string(error))));
        else
            m_client.getPropertyAsync("track-list", MPV_FORMAT_NODE,
                                      tagFor(Request::SubtitleTracks, generationOf(tag)));
        return;
    }
    // The newest track read from the file is the one just added.
    qlonglong id = 0;
    for (const QVariant& item : value.toList()) {
        const QVariantMap track = item.toMap();
        if (track.value(QStringLiteral("type")).toString() == QLatin1String("sub") &&
            track.value(QStringLiteral("external-filename")).toString() == m_asked)
            id = std::max(id, track.value(QStringLiteral("id")).toLongLong());
    }
    if (id > 0)
        m_client.setPropertyAsync("sid", id);
}
