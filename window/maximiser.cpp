#include "window/maximiser.h"

#include "common/twips.h"
#include "controls/screentwips.h"
#include "platform/windowsystem.h"

#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QWidget>

WindowMaximiser::WindowMaximiser(QWidget& window, QLabel& label3)
    : QObject(&window), m_window(window), m_label3(label3)
{
    if (WindowSystem::compositorDecides())
        window.installEventFilter(this);
}

QRect WindowMaximiser::windowTwips() const
{
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    return WindowGeometry::toTwips(m_window.geometry(), tpp.x, tpp.y);
}

QRect WindowMaximiser::workAreaTwips() const
{
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    const QScreen* screen = m_window.screen();
    return screen ? WindowGeometry::toTwips(screen->availableGeometry(), tpp.x, tpp.y)
                  : windowTwips();
}

void WindowMaximiser::setWindowTwips(const QRect& twips)
{
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    m_window.setGeometry(Twips::toPixels(twips, tpp.x, tpp.y));
}

void WindowMaximiser::recordRestoreRect()
{
    m_toggle.recordRestoreRect(windowTwips());
}

void WindowMaximiser::toggle()
{
    // The window stays borderless either way: a frame that comes and goes with the state
    // would only move the picture.
    const QRect next = m_toggle.toggle(windowTwips(), workAreaTwips());
    // A Wayland client knows neither where its window is nor where the work area is: the
    // compositor maximises it and the resize reply lays out the size it gives.
    if (!WindowSystem::compositorDecides())
        setWindowTwips(next);
    else if (m_toggle.maximised())
        m_window.showMaximized();
    else
        m_window.showNormal();
    showState();
}

void WindowMaximiser::showState()
{
    m_label3.setText(m_toggle.maximised() ? QStringLiteral("2") : QStringLiteral("1"));
    if (!m_toggle.maximised())
        emit restored();
}

void WindowMaximiser::fitToWorkArea()
{
    if (WindowSystem::compositorDecides())
        m_window.showMaximized();
    else
        setWindowTwips(workAreaTwips());
}

bool WindowMaximiser::holdsLayout() const
{
    const Qt::WindowStates state = m_window.windowState();
    return (state & Qt::WindowMinimized) ||
           ((state & Qt::WindowMaximized) && !WindowSystem::compositorDecides());
}

bool WindowMaximiser::eventFilter(QObject* watched, QEvent* event)
{
    // The compositor may restore or maximise the window by itself (a key of its own, a drag,
    // a refusal): the flag and the glyph follow. What this program asks for itself comes back
    // as no spontaneous event, and may pass through other states on the way (bringing back).
    if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
        event->spontaneous() && m_window.isMaximized() != m_toggle.maximised()) {
        m_toggle.toggle(windowTwips(), workAreaTwips());
        showState();
    }
    return false;
}
