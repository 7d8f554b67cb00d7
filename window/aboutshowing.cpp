#include "window/aboutshowing.h"

#include "controls/frmsplash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

AboutShowing::AboutShowing(QWidget& mainWindow, const QString& title)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_title(title)
{
    mainWindow.installEventFilter(this);
}

void AboutShowing::show()
{
    // Chosen from the popup menu, the focus that the menu's closing hands back to the main
    // window is still on its way from the window system: taken in first, it cannot put the
    // about window away the moment it shows.
    QGuiApplication::sync();
    if (m_closedForGood)
        return;
    if (!m_splash) {
        m_splash = new frmSplash(m_title, frmSplash::versionText(ORVELLA_VERSION_MAJOR,
                                                                 ORVELLA_VERSION_MINOR,
                                                                 ORVELLA_VERSION_PATCH));
        m_splash->move(m_mainWindow.geometry().center() - m_splash->rect().center());
        m_splash->installEventFilter(this);
    }
    m_shown.start();
    m_splash->show();
    m_splash->raise();
    m_splash->activateWindow();
}

void AboutShowing::close()
{
    if (m_splash)
        m_splash->close();
}

void AboutShowing::closeForGood()
{
    m_closedForGood = true;
    close();
}

bool AboutShowing::justShown() const
{
    return m_shown.isValid() && m_shown.elapsed() < settleMs;
}

bool AboutShowing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ActivationChange || !m_splash)
        return false;
    if (watched == &m_mainWindow && m_mainWindow.isActiveWindow()) {
        // GotFocus: the main window taking the focus puts the about window away.
        if (justShown())
            m_splash->activateWindow();
        else
            close();
    }
    // The about window goes away when it loses the focus, but not to the menu's leftover.
    return watched == m_splash && !m_splash->isActiveWindow() && justShown();
}
