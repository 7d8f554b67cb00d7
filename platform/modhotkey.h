// The system-wide full-screen hot key, Alt+Enter. On X11 it is grabbed on the root window, so
// it reaches the player while another program has the keyboard; elsewhere it works while a
// window of the player has the focus.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace modHotKey {

class HotKey : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    // Registers the hot key for window; toggle runs when it is pressed. A hot key that
    // another program holds is reported once on standard error, and the player goes on
    // without it.
    HotKey(QWidget& window, std::function<void()> toggle);
    // Releases the key, so that it reaches other programs again.
    ~HotKey() override;

    bool isSystemWide() const { return !m_grabbed.empty(); }

    // The action for hot key id, run from the event loop after what was pending: the
    // full-screen toggle, once for each press taken since it was queued (an odd count toggles,
    // an even one leaves it). Only identifier 0, Alt+Enter, is the player's.
    void HotKeyPressed(int id);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab
    {
        unsigned char keycode;
        unsigned short modifiers;
    };
    bool grabOnX11();
    // One press of the key: counted, and the toggle queued once.
    void press();

    std::function<void()> m_toggle;
    std::vector<Grab> m_grabbed;
    std::vector<unsigned char> m_keycodes;
    unsigned m_pendingPresses = 0;
};

} // namespace modHotKey
