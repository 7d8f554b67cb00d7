#include "player/mpris.h"

#include "engine/mediaengine.h"
#include "engine/mediagate.h"
#include "engine/volume.h"
#include "player/mpvkeys.h"
#include "player/playbackcontroller.h"
#include "playlist/displayname.h"
#include "supportedmimetypes.h"
#include "window/playeractions.h"

#include <QAction>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

const QString serviceName = QStringLiteral("org.mpris.MediaPlayer2.orvella");
const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
constexpr double microseconds = 1e6;

class RootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit RootAdaptor(Mpris* controls) : QDBusAbstractAdaptor(controls), m_controls(controls) {}
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Orvella"); }
    QString desktopEntry() const { return QStringLiteral("org.orvella.orvella"); }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const { return supportedMimeTypes(); }

public slots:
    void Raise() { m_controls->raise(); }
    void Quit() { m_controls->quit(); }

private:
    Mpris* m_controls;
};

class PlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoNext)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canPlay)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(Mpris* controls) : QDBusAbstractAdaptor(controls), m_c(controls)
    {
        connect(controls, &Mpris::Seeked, this, &PlayerAdaptor::Seeked);
    }
    QString playbackStatus() const { return m_c->playbackStatus(); }
    double rate() const { return m_c->rate(); }
    void setRate(double rate) { m_c->setRate(rate); }
    double minimumRate() const { return MpvKeys::minSpeed; }
    double maximumRate() const { return MpvKeys::maxSpeed; }
    QVariantMap metadata() const { return m_c->metadata(); }
    double volume() const { return m_c->volume(); }
    void setVolume(double v) { m_c->setVolume(v); }
    qlonglong position() const { return m_c->position(); }
    bool canGoNext() const { return m_c->canGoNext(); }
    bool canPlay() const { return m_c->canPlay(); }
    bool yes() const { return true; }

public slots:
    void PlayPause() { m_c->playPause(); }
    void Play() { m_c->play(); }
    void Pause() { m_c->pause(); }
    void Stop() { m_c->stop(); }
    void Next() { m_c->next(); }
    void Previous() { m_c->previous(); }
    void Seek(qlonglong offset) { m_c->seekBy(offset); }
    void SetPosition(const QDBusObjectPath& track, qlonglong at)
    {
        m_c->setPosition(track.path(), at);
    }
    void OpenUri(const QString& uri) { m_c->openUri(uri); }

signals:
    void Seeked(qlonglong Position);

private:
    Mpris* m_c;
};

} // namespace

Mpris::Mpris(const MediaEngine& engine, PlaybackController& playback, PlayerActions& actions,
             std::function<void()> raise, QObject* parent)
    : QObject(parent), m_engine(engine), m_playback(playback), m_actions(actions),
      m_raise(std::move(raise))
{
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_registered = bus.isConnected() && bus.registerObject(objectPath, this) &&
                   bus.registerService(serviceName);
    if (!m_registered)
        std::fprintf(stderr, "Orvella: no session bus; the desktop's media controls will not "
                             "reach the player.\n");
    connect(&m_playback, &PlaybackController::positionJumped, this,
            [this](double seconds) { emit Seeked(std::llround(seconds * microseconds)); });
    connect(&m_playback, &PlaybackController::volumeChanged, this,
            [this] { propertiesChanged({QStringLiteral("Volume")}); });
    connect(&m_playback, &PlaybackController::trackChanged, this, [this] {
        m_stopped = false;
        propertiesChanged({QStringLiteral("Metadata"), QStringLiteral("PlaybackStatus")});
    });
    connect(&m_engine, &MediaEngine::tuningChanged, this, [this] {
        if (std::exchange(m_rate, rate()) != m_rate)
            propertiesChanged({QStringLiteral("Rate")});
    });
    connect(&m_engine, &MediaEngine::PlayStateChange, this, [this](int, int now) {
        if (now == PlayStates::Playing)
            m_stopped = false;
        propertiesChanged({QStringLiteral("PlaybackStatus"), QStringLiteral("Metadata"),
                           QStringLiteral("CanPlay"), QStringLiteral("CanPause"),
                           QStringLiteral("CanSeek"), QStringLiteral("CanGoNext"),
                           QStringLiteral("CanGoPrevious")});
    });
}

Mpris::~Mpris()
{
    if (m_registered)
        QDBusConnection::sessionBus().unregisterService(serviceName);
}

QString Mpris::playbackStatus() const
{
    if (m_stopped || !m_playback.hasTrack())
        return QStringLiteral("Stopped");
    switch (m_engine.PlayState()) {
    case PlayStates::Playing:
        return QStringLiteral("Playing");
    case PlayStates::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

QString Mpris::trackId() const
{
    return QStringLiteral("/org/orvella/track/%1").arg(m_playback.trackSerial());
}

QVariantMap Mpris::metadata() const
{
    const QString file = m_engine.FileName();
    if (!m_playback.hasTrack())
        return {
            {QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack"))}};
    return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId()))},
            {QStringLiteral("mpris:length"),
             qlonglong(std::llround(m_engine.Duration() * microseconds))},
            {QStringLiteral("xesam:url"), QUrl::fromLocalFile(file).toString()},
            {QStringLiteral("xesam:title"), Paths::nameAfterLastSeparator(file)}};
}

qlonglong Mpris::position() const
{
    return std::llround(m_engine.CurrentPosition() * microseconds);
}

double Mpris::volume() const
{
    return Volume::toBus(m_engine.Volume());
}

void Mpris::setVolume(double volume)
{
    // NaN would pass the clamp and make no integer; an infinity is no place on the bar.
    if (!std::isfinite(volume))
        return;
    m_playback.setVolume(Volume::fromBus(volume));
}

double Mpris::rate() const
{
    const QVariant speed = m_engine.tuning("speed");
    return speed.isValid() ? speed.toDouble() : 1.0;
}

void Mpris::setRate(double rate)
{
    // A rate of 0 would mean pause; the bus may send anything.
    if (std::isfinite(rate) && rate > 0)
        emit rateRequested(std::clamp(rate, MpvKeys::minSpeed, MpvKeys::maxSpeed));
}

bool Mpris::canPlay() const
{
    return m_playback.hasTrack() && m_engine.Duration() > 0;
}

bool Mpris::canGoNext() const
{
    return m_playback.entries() > 0;
}

void Mpris::playPause()
{
    m_actions.playPause->trigger();
}

void Mpris::play()
{
    if (m_engine.PlayState() != PlayStates::Playing)
        m_actions.playPause->trigger();
}

void Mpris::pause()
{
    if (m_engine.PlayState() == PlayStates::Playing)
        m_actions.playPause->trigger();
}

void Mpris::stop()
{
    if (!m_playback.hasTrack())
        return;
    m_stopped = true;
    if (m_engine.PlayState() == PlayStates::Playing)
        m_actions.playPause->trigger();
    seekTo(0);
    propertiesChanged({QStringLiteral("PlaybackStatus")});
}

void Mpris::next()
{
    m_actions.mnuNext->trigger();
}

void Mpris::previous()
{
    m_actions.mnuPrev->trigger();
}

void Mpris::seekTo(double seconds)
{
    if (!canPlay())
        return;
    m_playback.seek(std::clamp(seconds, 0.0, m_engine.Duration()));
}

void Mpris::seekBy(qlonglong offset)
{
    const double to = m_engine.CurrentPosition() + offset / microseconds;
    // Past the end is the next track's business.
    if (canPlay() && to > m_engine.Duration())
        next();
    else
        seekTo(to);
}

void Mpris::setPosition(const QString& track, qlonglong at)
{
    // A position meant for another track is stale: the desktop asked before the player moved
    // on. One outside the track is no position at all.
    const double seconds = at / microseconds;
    if (track == trackId() && canPlay() && seconds >= 0 && seconds <= m_engine.Duration())
        seekTo(seconds);
}

void Mpris::openUri(const QString& uri)
{
    // The player plays local, existing files only; the caller hears why in its own words, and
    // nothing that cannot play joins the list.
    const MediaGate::Verdict verdict = MediaGate::admit(uri);
    if (verdict.admitted())
        m_playback.playNow(verdict.path);
    else
        m_playback.tellRefusal(verdict.refusal);
}

void Mpris::raise()
{
    if (m_raise)
        m_raise();
}

void Mpris::quit()
{
    m_actions.mnuExit->trigger();
}

void Mpris::propertiesChanged(const QStringList& names)
{
    if (!m_registered)
        return;
    auto* adaptor = findChild<PlayerAdaptor*>();
    QVariantMap changed;
    for (const QString& name : names)
        changed.insert(name, adaptor->property(name.toLatin1().constData()));
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << playerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "mpris.moc"
