#include "window/windowshowing.h"

#include "window/maximiser.h"

#include <QSystemTrayIcon>
#include <QWidget>

WindowShowing::WindowShowing(QWidget& window, WindowMaximiser& maximiser)
    : QObject(&window), m_window(window), m_maximiser(maximiser)
{
}

void WindowShowing::minimise()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_window.hide();
    else
        m_window.showMinimized();
}

void WindowShowing::toggleFromTray()
{
    if (m_window.isVisible() && !m_window.isMinimized()) {
        m_window.hide();
        return;
    }
    m_window.showNormal();
    m_window.activateWindow();
    if (m_maximiser.maximised())
        m_maximiser.fitToWorkArea();
}

void WindowShowing::bringForward()
{
    m_window.raise();
    m_window.activateWindow();
}
