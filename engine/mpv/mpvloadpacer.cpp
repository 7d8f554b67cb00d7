#include "engine/mpv/mpvloadpacer.h"

#include <algorithm>
#include <utility>

MpvLoadPacer::MpvLoadPacer(MpvClient& client) : m_client(client)
{
    // A file slow to open (a dead share) is given up for the newest put after this long.
    m_holdLimit.setSingleShot(true);
    m_holdLimit.setInterval(100);
    connect(&m_holdLimit, &QTimer::timeout, this, &MpvLoadPacer::taken);
}

void MpvLoadPacer::send(const QString& path, QList<MpvClient::FileOption> options,
                        std::uint64_t generation)
{
    m_held = Load{path, std::move(options), generation};
    if (!m_inFlight)
        sendHeld();
    else if (!m_holdLimit.isActive())
        m_holdLimit.start();
}

void MpvLoadPacer::dropHeld()
{
    m_held.reset();
}

void MpvLoadPacer::handleReply(std::uint64_t generation, int error, const QVariant& value)
{
    if (!m_inFlight || generation != m_inFlightGeneration)
        return;
    // mpv took the loadfile; it is busy with it until the new entry has loaded or ended.
    if (error < 0 || !value.isValid())
        taken();
    else
        m_inFlightEntry = value.toLongLong();
}

void MpvLoadPacer::handleStartFile(std::int64_t entryId)
{
    m_lastStartedEntry = std::max(m_lastStartedEntry, entryId);
}

void MpvLoadPacer::handleFileLoaded()
{
    // mpv says "loaded" of the entry it started last.
    if (m_inFlightEntry && m_lastStartedEntry >= *m_inFlightEntry)
        taken();
}

void MpvLoadPacer::handleEndFile(std::int64_t entryId)
{
    if (m_inFlightEntry && entryId >= *m_inFlightEntry)
        taken();
}

void MpvLoadPacer::taken()
{
    m_holdLimit.stop();
    m_inFlight = false;
    m_inFlightEntry.reset();
    sendHeld();
}

void MpvLoadPacer::sendHeld()
{
    if (!m_held)
        return;
    const Load load = std::move(*m_held);
    m_held.reset();
    m_inFlight = true;
    m_inFlightGeneration = load.generation;
    ++m_sent;
    m_client.loadFileAsync(load.path, load.options, tagFor(Request::Load, load.generation));
}
