#include "player/keepawake.h"

#include "engine/mediaengine.h"

KeepAwake::KeepAwake(MediaEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_settle(this)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(std::chrono::seconds(1));
    connect(&m_settle, &QTimer::timeout, this, &KeepAwake::settle);
    connect(&m_engine, &MediaEngine::PlayStateChange, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_engine, &MediaEngine::OpenStateChange, &m_settle, qOverload<>(&QTimer::start));
}

bool KeepAwake::wanted(int playState, int pictureHeight)
{
    // Waiting is a stall for data, not the user's halt.
    const bool playing = playState == PlayStates::Playing || playState == PlayStates::Waiting;
    return playing && pictureHeight > 0;
}

void KeepAwake::settle()
{
    const bool hold = wanted(m_engine.PlayState(), m_engine.ImageSourceHeight());
    if (hold == m_held)
        return;
    m_held = hold;
    emit heldChanged(m_held);
}
