// Keeps the screen from blanking while held: the X server's own screen saver is suspended,
// and the desktop's idle blanking is inhibited over the session bus. Let go when released and
// when destroyed.
#pragma once

#include <QObject>
#include <memory>

class DesktopIdle;

class ScreenSaverHold : public QObject
{
    Q_OBJECT
public:
    explicit ScreenSaverHold(QObject* parent = nullptr);
    ~ScreenSaverHold() override;

    bool held() const { return m_held; }
    void setHeld(bool held);
    // The program's end: lets go before the event loop stops.
    void release();

private:
    bool m_held = false;
    // Made on the first hold: a player that never shows a picture never touches the bus.
    std::unique_ptr<DesktopIdle> m_desktop;
};
