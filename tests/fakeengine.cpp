#include "fakeengine.h"

#include <algorithm>

void FakeEngine::emitPlayState(int newState)
{
    const int old = m_playState;
    m_playState = newState;
    emit PlayStateChange(old, newState);
}

void FakeEngine::reachEnd()
{
    m_position = m_duration;
    emitPlayState(PlayStates::Stopped);
}

bool FakeEngine::setFileName(const QString& path)
{
    calls << QStringLiteral("setFileName:") + path;
    opened << path;
    if (duringOpen)
        duringOpen();
    const bool known = m_media.contains(path);
    if (superseded || m_refused.contains(path) || (m_strict && !known)) {
        m_fileName.clear();
        m_duration = m_position = 0;
        m_width = m_height = 0;
        m_lastError = superseded ? QString() : QStringLiteral("refused: ") + path;
        emitPlayState(PlayStates::Closed);
        return false;
    }
    const Media media = m_media.value(path);
    m_fileName = path;
    m_duration = media.duration;
    m_position = 0;
    m_width = media.width;
    m_height = media.height;
    m_lastError.clear();
    emit OpenStateChange(0, 6);
    emitPlayState(PlayStates::Playing);
    return true;
}

void FakeEngine::setCurrentPosition(double seconds)
{
    calls << QStringLiteral("setCurrentPosition:%1").arg(seconds);
    m_position = std::clamp(seconds, 0.0, m_duration);
}

void FakeEngine::Play()
{
    calls << QStringLiteral("Play");
    if (!m_fileName.isEmpty())
        emitPlayState(PlayStates::Playing);
}

void FakeEngine::Pause()
{
    calls << QStringLiteral("Pause");
    if (!m_fileName.isEmpty())
        emitPlayState(PlayStates::Paused);
}

void FakeEngine::setDisplaySize(int size)
{
    calls << QStringLiteral("setDisplaySize:%1").arg(size);
    m_displaySize = size;
}

void FakeEngine::setShowControls(bool show)
{
    calls << QStringLiteral("setShowControls:%1").arg(show);
    m_showControls = show;
}

void FakeEngine::setShowStatusBar(bool show)
{
    calls << QStringLiteral("setShowStatusBar:%1").arg(show);
    m_showStatusBar = show;
}

void FakeEngine::setVolume(int hundredthsOfDecibel)
{
    calls << QStringLiteral("setVolume:%1").arg(hundredthsOfDecibel);
    m_volume = std::min(hundredthsOfDecibel, 0);
}

void FakeEngine::setMute(bool mute)
{
    calls << QStringLiteral("setMute:%1").arg(mute);
    m_mute = mute;
}

void FakeEngine::ShowDialog(int which)
{
    calls << QStringLiteral("ShowDialog:%1").arg(which);
}
