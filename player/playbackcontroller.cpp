#include "player/playbackcontroller.h"

#include "common/starttrace.h"
#include "engine/mediaengine.h"
#include "engine/volume.h"
#include "player/playbackcontrol.h"
#include "player/subtitledrop.h"
#include "window/barvalues.h"

#include <QDebug>

PlaybackController::PlaybackController(MediaEngine& engine, Playlist& playlist, QObject* parent)
    : QObject(parent), m_engine(engine), m_progressTimer(this), m_playlist(playlist)
{
    m_playlist.setPlayer(this);
    connect(&m_playlist, &Playlist::full, this, [this](qsizetype leftOut) {
        tellRefusal(QStringLiteral("The playlist is full (%1 entries): %2 left out.")
                        .arg(Playlist::MaxEntries)
                        .arg(leftOut));
    });
    m_progressTimer.setObjectName(QStringLiteral("Timerscroll"));
    m_progressTimer.setInterval(500);
    connect(&m_progressTimer, &QTimer::timeout, this, &PlaybackController::tick);
    m_progressTimer.start();
    connect(&m_engine, &MediaEngine::PlayStateChange, this,
            [this](int, int newState) { onPlayStateChange(newState); });
    connect(&m_engine, &MediaEngine::OpenStateChange, this, &PlaybackController::fileChanged);
    connect(&m_engine, &MediaEngine::muteAsked, this, &PlaybackController::setMute);
}

void PlaybackController::tick()
{
    emit progress(m_engine.CurrentPosition(), m_engine.Duration());
}

bool PlaybackController::open(const QString& path)
{
    if (m_engine.setFileName(path)) {
        m_opened = m_engine.FileName();
        ++m_trackSerial;
        emit trackChanged();
        return true;
    }
    // No reason yet means a put that waits took this one over; it reports.
    if (!m_engine.lastError().isEmpty())
        tellRefusal(m_engine.lastError());
    return false;
}

bool PlaybackController::openEntry(const QString& path)
{
    if (path.isEmpty())
        return false;
    const bool opened = open(QString(path).remove(u'"'));
    StartTrace::mark("FileName returned");
    if (opened)
        emit entryOpened();
    return opened;
}

bool PlaybackController::playing() const
{
    return m_engine.PlayState() == PlayStates::Playing;
}

bool PlaybackController::hasTrack() const
{
    return !m_opened.isEmpty() && m_engine.FileName() == m_opened;
}

QStringList PlaybackController::takeSubtitles(const QStringList& dropped)
{
    // A film: something with a length and a picture; not the start-up picture, not a song.
    const bool filmOpen = hasTrack() && m_engine.Duration() > 0 && m_engine.ImageSourceHeight() > 0;
    const SubtitleDrop::Split split = SubtitleDrop::split(dropped, filmOpen);
    for (const QString& path : split.forFilm) {
        if (const QString why = m_engine.addSubtitle(path); !why.isEmpty())
            tellRefusal(why);
    }
    for (const QString& text : split.refused)
        tellRefusal(text);
    return split.forPlaylist;
}

void PlaybackController::tellRefusal(const QString& text)
{
    qWarning().noquote() << text;
    m_engine.showMessage(text);
}

void PlaybackController::onPlayStateChange(int newState)
{
    m_playlist.refreshCount();
    const PlayRules::PlayButton button = PlayRules::playButtonFor(newState);
    emit playButtonChanged(button.caption, button.toolTip);
    if (button.timerOn)
        m_progressTimer.start();
    else
        m_progressTimer.stop();
    if (PlayRules::reachedEnd(m_engine.FileName(), m_engine.Duration(),
                              m_engine.CurrentPosition())) {
        // Queued: the next file opens after the engine has finished reporting this one.
        QTimer::singleShot(0, this, [this] { m_playlist.PlayNext(); });
    }
}

void PlaybackController::togglePlay()
{
    PlayRules::togglePlay(m_engine);
}

void PlaybackController::stepPrevious()
{
    if (Playlist::severalEntries(m_playlist.shownCount()))
        m_playlist.PlayPrev();
}

void PlaybackController::stepNext()
{
    if (Playlist::severalEntries(m_playlist.shownCount()))
        m_playlist.PlayNext();
}

void PlaybackController::seek(double seconds)
{
    m_engine.setCurrentPosition(seconds);
    // Where the engine says it is now: it may keep a jump inside the file.
    emit positionJumped(m_engine.CurrentPosition());
    // The seek fill follows at once: halted or stopped, no tick would move it.
    tick();
}

void PlaybackController::seekBy(double seconds)
{
    if (const auto target =
            PlayRules::steppedPosition(m_engine.CurrentPosition(), m_engine.Duration(), seconds))
        seek(*target);
}

void PlaybackController::seekAlong(double fillWidth, double barWidth)
{
    if (const auto target = BarValues::seekTarget(m_engine.Duration(), fillWidth, barWidth))
        seek(*target);
}

void PlaybackController::holdProgress(bool halt)
{
    m_progressTimer.stop();
    if (halt)
        m_engine.Pause();
}

void PlaybackController::resumeProgress(bool play)
{
    m_progressTimer.start();
    if (play)
        m_engine.Play();
}

void PlaybackController::setVolume(int hundredthsOfDecibel)
{
    if (m_engine.Mute())
        m_engine.setMute(false);
    m_engine.setVolume(hundredthsOfDecibel);
    showVolume();
}

void PlaybackController::stepVolume(int steps)
{
    setVolume(Volume::stepped(m_engine.Volume(), steps));
}

void PlaybackController::toggleMute()
{
    setMute(!m_engine.Mute());
}

void PlaybackController::setMute(bool mute)
{
    m_engine.setMute(mute);
    showVolume();
}

void PlaybackController::showVolume()
{
    emit volumeChanged(m_engine.Mute() ? Volume::silence : m_engine.Volume());
}
