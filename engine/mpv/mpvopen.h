// The open transaction: a put of FileName sends loadfile, gathers what mpv replies about the
// new file, and settles the engine's file once, as open or as closed with the reason. mpv
// answers on its own time, so every request carries the generation of the put it serves and
// replies of an older put are dropped.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

struct MpvFile;
class MpvClient;
class MpvLoadPacer;
class MpvSubtitles;
class QEventLoop;

class MpvOpen : public QObject
{
    Q_OBJECT
public:
    // Writes what it settles into file; both must outlive it.
    MpvOpen(MpvClient& client, MpvFile& file);
    ~MpvOpen() override;

    // The put of FileName, as MpvEngine::setFileName describes it.
    bool open(const QString& path);
    // A put waits: what the engine reports keeps its values until it ends.
    bool pending() const { return m_pending != nullptr; }
    // The put the open file came from; requests about that file carry it.
    std::uint64_t generation() const { return m_generation; }
    // How many loadfiles went to mpv.
    std::uint64_t loadsSent() const;
    // Lets the waiting put look again at how far its open has come.
    void wakeWait();
    // Gives the open file one more subtitle file and shows it; returns why not, or "" when
    // it went to mpv (whose failure to read it comes later as refused).
    QString addSubtitle(const QString& path);

    // mpv's events about files, and the replies to the requests tagged with a generation.
    void handleStartFile(std::int64_t entryId);
    void handleFileLoaded();
    void handleEndFile(std::int64_t entryId, int reason, int error);
    void handleVideoReconfig();
    void handlePlaybackRestart();
    void handleReply(std::uint64_t tag, int error, const QVariant& value);
    // An error mpv logged; the first one while a put waits explains a failure.
    void noteLoggedError(const QString& text);
    // After a batch of events: wakes the put once its open is settled, and reports the play
    // state.
    void eventsHandled();

signals:
    void openStateChanged(int oldState, int newState);
    void playStateChanged(int oldState, int newState);
    // A subtitle file mpv could not read, or a file that failed as soon as it opened: told to
    // the user as a refusal.
    void refused(const QString& text);

private:
    struct PendingOpen;

    bool waitForOpen();
    bool pendingResolved() const;
    void commitOpen();
    void commitClosed(QString error);
    void setOpenState(int state);
    void updatePlayState();

    MpvClient& m_client;
    MpvFile& m_file;
    std::unique_ptr<PendingOpen> m_pending;
    std::uint64_t m_generation = 0;
    std::unique_ptr<MpvSubtitles> m_subtitles;
    // The one wait for an open, while a put waits.
    QEventLoop* m_wait = nullptr;
    std::unique_ptr<MpvLoadPacer> m_loads;
};
