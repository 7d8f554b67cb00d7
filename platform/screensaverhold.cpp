#include "platform/screensaverhold.h"

#include "platform/desktopidle.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace {

// The X server counts suspensions per client and ends them when the client goes, so a crash
// never leaves the screen saver off.
void suspendXScreenSaver(bool suspend)
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return;
    XScreenSaverSuspend(display, suspend ? True : False);
    XFlush(display);
}

} // namespace

ScreenSaverHold::ScreenSaverHold(QObject* parent) : QObject(parent) {}

ScreenSaverHold::~ScreenSaverHold()
{
    release();
}

void ScreenSaverHold::release()
{
    if (m_held)
        suspendXScreenSaver(false);
    m_held = false;
    if (m_desktop)
        m_desktop->end();
}

void ScreenSaverHold::setHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    suspendXScreenSaver(held);
    if (!m_desktop)
        m_desktop = std::make_unique<DesktopIdle>(QDBusConnection::sessionBus());
    m_desktop->setInhibited(held);
}
