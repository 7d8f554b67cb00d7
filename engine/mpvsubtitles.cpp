#include "engine/mpvsubtitles.h"

#include "engine/mediagate.h"
#include "engine/mpvclient.h"

#include <QFileInfo>

namespace {
QVariantList subAdd(const QString& path, bool select, const QString& language = {})
{
    QVariantList command{QStringLiteral("sub-add"), path,
                         select ? QStringLiteral("select") : QStringLiteral("auto"),
                         QFileInfo(path).fileName()};
    if (!language.isEmpty())
        command.append(language);
    return command;
}
} // namespace

MpvSubtitles::MpvSubtitles(MpvClient& client) : m_client(client) {}

QList<SubtitleProbe::Candidate> MpvSubtitles::beside(const QString& film)
{
    QList<SubtitleProbe::Candidate> found = SubtitleProbe::beside(film);
    found.removeIf([](const SubtitleProbe::Candidate& candidate) {
        return !MediaGate::admitSubtitle(candidate.path).admitted();
    });
    return found;
}

void MpvSubtitles::filmLoaded(std::uint64_t generation, QList<SubtitleProbe::Candidate> subtitles)
{
    m_queue = std::move(subtitles);
    sendNext(generation, true);
}

void MpvSubtitles::sendNext(std::uint64_t generation, bool select)
{
    // mpv runs sub-adds side by side; sent together they would take their track ids in any
    // order, and the shown one would not always be listed first.
    if (m_queue.isEmpty())
        return;
    const SubtitleProbe::Candidate next = m_queue.takeFirst();
    m_client.commandAsync(subAdd(next.path, select, next.language),
                          tagFor(Request::SubtitleBeside, generation));
}

void MpvSubtitles::add(std::uint64_t generation, const QString& path)
{
    m_asked = path;
    m_client.commandAsync(subAdd(path, true), tagFor(Request::Subtitle, generation));
}

void MpvSubtitles::handleReply(std::uint64_t tag, int error, bool current)
{
    // A reply about a film since replaced changes nothing: the new film brought its own list.
    if (!current)
        return;
    if (requestOf(tag) == Request::SubtitleBeside) {
        sendNext(generationOf(tag), false);
    } else if (error < 0) {
        emit refused(tr("Cannot show the subtitle file %1: %2")
                         .arg(MediaGate::printable(QFileInfo(m_asked).fileName()),
                              QString::fromUtf8(mpv_error_string(error))));
    }
}
