// Whether the screen must stay awake: while a picture plays. A paused file, a sound without
// a picture and a closed engine let the screen saver and the desktop's idle blanking work.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class MediaEngine;

class KeepAwake : public QObject
{
    Q_OBJECT
public:
    explicit KeepAwake(MediaEngine& engine, QObject* parent = nullptr);

    // The rule itself: the engine plays (or waits for data while playing) a file with a picture.
    static bool wanted(int playState, int pictureHeight);

    bool held() const { return m_held; }
    // A change is acted on once the engine's state has kept it this long, so that stepping
    // from one file to the next, or the start-up picture's open and halt, does not flap.
    void setSettleTime(std::chrono::milliseconds time) { m_settle.setInterval(time); }
    const QTimer& settleTimer() const { return m_settle; }

signals:
    void heldChanged(bool held);

private:
    void settle();

    MediaEngine& m_engine;
    QTimer m_settle;
    bool m_held = false;
};
