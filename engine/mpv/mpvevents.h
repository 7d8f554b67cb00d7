// The property pump: mpv's events, drained on the GUI thread and handed on. The properties the
// engine follows land in values(); those the file's state depends on update it; everything
// about opening a file goes to the open transaction.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QVariant>
#include <atomic>

struct MpvFile;
struct mpv_event;
class MpvClient;
class MpvOpen;

class MpvEvents : public QObject
{
    Q_OBJECT
public:
    // All three must outlive the pump.
    MpvEvents(MpvClient& client, MpvOpen& open, MpvFile& file);

    // Once the core is initialised: asks for its errors and the followed properties, and to be
    // woken whenever it has events.
    void start();
    // mpv wakes the pump no more.
    void stop();

    QVariant value(const QByteArray& name) const { return m_values.value(name); }
    // Starts following the properties that cost mpv something to keep up to date (the audio
    // devices), for as long as the core lives; once is enough.
    void followOnDemand();

signals:
    // The tracks, the selected ones, the audio devices or the chosen device changed.
    void tracksChanged();
    // mpv's audio output in use ("pulse", "null", ...); "" while none is open.
    void audioOutputChanged(const QString& output);
    // mpv's mute, whoever set it.
    void muteChanged(bool mute);

private:
    struct PropertyHandler;
    static const PropertyHandler kProperties[];

    void drain();
    void handle(const mpv_event& event);

    void onDuration(const QVariant& value);
    void onTimePos(const QVariant& value);
    void onPause(const QVariant& value);
    void onEofReached(const QVariant& value);
    void onPausedForCache(const QVariant& value);
    void onTracks(const QVariant& value);
    void onMute(const QVariant& value);
    void onAudioOutput(const QVariant& value);

    MpvClient& m_client;
    MpvOpen& m_open;
    MpvFile& m_file;
    std::atomic<bool> m_drainQueued{false};
    bool m_followingOnDemand = false;
    QHash<QByteArray, QVariant> m_values;
};
