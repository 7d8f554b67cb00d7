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
    }
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

bool AboutShowing::eventFilter(QObject* watched, QEvent* event)
{
    // GotFocus: the main window taking the focus puts the about window away.
    if (watched == &m_mainWindow && event->type() == QEvent::ActivationChange &&
        m_mainWindow.isActiveWindow())
        close();
    return QObject::eventFilter(watched, event);
}
