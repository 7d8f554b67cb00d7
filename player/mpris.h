// The desktop's media controls (MPRIS 2 on the session bus): media keys, panel widgets and
// tools like playerctl reach the player through the same commands as its glyphs and menu.
//
// Volume: the desktop's cubic 0..1 (Volume::toBus); the bar's bottom (-75 dB) reads as 0. NaN
// or an infinity changes nothing.
//
// A track is a file the user opened; the start-up picture is none. Its id changes with every
// open and stays while the file plays.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class MediaEngine;
class PlaybackController;
class PlayerActions;

class Mpris : public QObject
{
    Q_OBJECT
public:
    // Registers on the session bus; without one the player goes on and says so once.
    // Reads the engine; every change goes through the playback owner, whose jumps it reports
    // as Seeked and whose volume changes as a changed Volume.
    // raise brings the main window to the front, wherever it was put away.
    Mpris(const MediaEngine& engine, PlaybackController& playback, PlayerActions& actions,
          std::function<void()> raise, QObject* parent = nullptr);
    ~Mpris() override;

    bool registered() const { return m_registered; }

    // What the interfaces report and do, used by their adaptors.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong position() const;
    double volume() const;
    void setVolume(double volume);
    // The speed, from MpvKeys::minSpeed to maxSpeed; a change is announced.
    double rate() const;
    void setRate(double rate);
    bool canPlay() const;
    bool canGoNext() const;
    void playPause();
    void play();
    void pause();
    void stop();
    void next();
    void previous();
    void seekBy(qlonglong microseconds);
    void setPosition(const QString& trackId, qlonglong microseconds);
    void openUri(const QString& uri);
    void raise();
    void quit();

    // Tells the bus which of the player's properties changed.
    void propertiesChanged(const QStringList& names);

signals:
    void Seeked(qlonglong position);
    // The desktop asks for another speed, within the limits.
    void rateRequested(double rate);

private:
    QString trackId() const;
    void seekTo(double seconds);

    const MediaEngine& m_engine;
    PlaybackController& m_playback;
    PlayerActions& m_actions;
    std::function<void()> m_raise;
    bool m_registered = false;
    // Stop halts at the start; it reads as stopped until playback goes on.
    bool m_stopped = false;
    double m_rate = 1.0;
};
