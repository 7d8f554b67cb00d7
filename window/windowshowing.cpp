#include "window/windowshowing.h"

#include "controls/shellicon.h"
#include "platform/windowsystem.h"
#include "window/maximiser.h"

#include <QCursor>
#include <QMenu>
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
    else if (WindowSystem::canUnminimise())
        m_window.showMinimized();
    // Otherwise (a Wayland compositor without activation, such as weston) a minimised window
    // would be out of reach for good, of the user and of the desktop's raise alike: it stays.
}

void WindowShowing::toggleFromTray()
{
    if (m_window.isVisible() && !m_window.isMinimized()) {
        m_window.hide();
        return;
    }
    bringBack();
}

void WindowShowing::bringBack()
{
    if (!m_window.isVisible() || m_window.isMinimized()) {
        m_window.showNormal();
        if (m_maximiser.maximised())
            m_maximiser.fitToWorkArea();
    }
    m_window.activateWindow();
    bringForward();
}

void WindowShowing::bringForward()
{
    m_window.raise();
    m_window.activateWindow();
}

void WindowShowing::answerTray(ShellIcon& icon, QMenu& menu)
{
    // A right click answers with the popup menu alone, not the window commands after it.
    icon.setSysMenu(false);
    connect(&icon, &ShellIcon::MouseDown, this, [this, &menu](int button) {
        if (button == 1) {
            toggleFromTray();
        } else if (button == 2) {
            bringForward();
            menu.popup(QCursor::pos());
        }
    });
    connect(&icon, &ShellIcon::DblClick, this, [this](int button) {
        if (button == 1)
            toggleFromTray();
    });
}
