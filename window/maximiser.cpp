#include "window/maximiser.h"

#include "controls/screentwips.h"
#include "controls/twips.h"

#include <QLabel>
#include <QScreen>
#include <QWidget>

WindowMaximiser::WindowMaximiser(QWidget& window, QLabel& label3)
    : QObject(&window), m_window(window), m_label3(label3)
{
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
    setWindowTwips(m_toggle.toggle(windowTwips(), workAreaTwips()));
    m_label3.setText(m_toggle.maximised() ? QStringLiteral("2") : QStringLiteral("1"));
    if (!m_toggle.maximised())
        emit restored();
}

void WindowMaximiser::fitToWorkArea()
{
    setWindowTwips(workAreaTwips());
}
