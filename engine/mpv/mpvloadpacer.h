// The loadfiles on their way to mpv. mpv begins a file for every loadfile it is sent, so a
// flood of puts (a desktop sending "next" two thousand times) would have it begin and drop each
// in turn while the first put waits. The newest loadfile waits instead while mpv opens the one
// sent before it, until that one has loaded or ended, or a tenth of a second at most; what a
// later put replaced never reaches mpv.
#pragma once

#include "engine/mpv/mpvclient.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <cstdint>
#include <optional>

class MpvLoadPacer : public QObject
{
    Q_OBJECT
public:
    // client must outlive this.
    explicit MpvLoadPacer(MpvClient& client);

    // The loadfile of put generation: sent now, or held in place of any held before it.
    void send(const QString& path, QList<MpvClient::FileOption> options, std::uint64_t generation);
    // The held loadfile never goes (a later put was refused, or the program closes).
    void dropHeld();

    // What mpv says: its reply to a loadfile, and the entries it starts, loads and ends.
    void handleReply(std::uint64_t generation, int error, const QVariant& value);
    void handleStartFile(std::int64_t entryId);
    void handleFileLoaded();
    void handleEndFile(std::int64_t entryId);

    // How many loadfiles went to mpv.
    std::uint64_t sent() const { return m_sent; }

private:
    // mpv is done with the loadfile in flight, or has had long enough: the held one goes.
    void taken();
    void sendHeld();

    struct Load
    {
        QString path;
        QList<MpvClient::FileOption> options;
        std::uint64_t generation = 0;
    };

    MpvClient& m_client;
    std::optional<Load> m_held;
    bool m_inFlight = false;
    std::uint64_t m_inFlightGeneration = 0;
    // mpv's entry for the loadfile in flight, once its reply says.
    std::optional<std::int64_t> m_inFlightEntry;
    std::int64_t m_lastStartedEntry = 0;
    QTimer m_holdLimit;
    std::uint64_t m_sent = 0;
};
