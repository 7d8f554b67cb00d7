#include "window/windowmover.h"

#include "controls/pointer.h"
#include "controls/screentwips.h"
#include "controls/twips.h"
#include "window/geometry.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

// Wayland lets no client place its own windows; the compositor moves them instead.
bool clientsMayPlaceWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

WindowMover::WindowMover(QWidget& window, std::function<bool()> maximised)
    : QObject(&window), m_window(window), m_maximised(std::move(maximised)),
      m_mode(clientsMayPlaceWindows() ? Mode::Arithmetic : Mode::System)
{
    window.installEventFilter(this);
}

bool WindowMover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        press(static_cast<QMouseEvent&>(*event));
        return true;
    case QEvent::MouseMove:
        move(static_cast<QMouseEvent&>(*event));
        return true;
    case QEvent::MouseButtonRelease:
        m_boolis = false;
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit doubleClicked();
        return true;
    default:
        return false;
    }
}

QPoint WindowMover::mouseTwips(const QMouseEvent& event) const
{
    // Measured from where the window stands now rather than where the event found it, so
    // moves that arrive before the window server has caught up cannot make it jump.
    const QPointF local = event.globalPosition() - QPointF(m_window.pos());
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    return {static_cast<int>(std::lround(local.x() * tpp.x)),
            static_cast<int>(std::lround(local.y() * tpp.y))};
}

void WindowMover::press(const QMouseEvent& event)
{
    Pointer::reset();
    if (event.button() == Qt::RightButton)
        emit menuRequested(event.globalPosition().toPoint());
    if (m_maximised() || event.button() != Qt::LeftButton)
        return;
    if (m_mode == Mode::System) {
        if (QWindow* handle = m_window.windowHandle())
            handle->startSystemMove();
        return;
    }
    const QPoint at = mouseTwips(event);
    m_startDragX = at.x();
    m_startDragY = at.y();
    m_boolis = true;
}

void WindowMover::move(const QMouseEvent& event)
{
    if (!Pointer::isDefault())
        Pointer::reset();
    if (m_boolis) {
        const TwipsPerPixel tpp = twipsPerPixel(&m_window);
        const QPoint topLeft(Twips::fromPixels(m_window.x(), tpp.x),
                             Twips::fromPixels(m_window.y(), tpp.y));
        const QPoint to =
            WindowGeometry::dragged(topLeft, QPoint(m_startDragX, m_startDragY), mouseTwips(event));
        m_window.move(Twips::toPixels(to.x(), tpp.x), Twips::toPixels(to.y(), tpp.y));
    }
    emit surfaceMoved();
}

SizeGrip::SizeGrip(QWidget& window) : QObject(&window), m_window(window) {}

void SizeGrip::moved(Qt::MouseButtons buttons)
{
    Pointer::setSizing();
    if (buttons != Qt::LeftButton) {
        m_ownSizing = false;
        return;
    }
    if (!m_ownSizing) {
        QWindow* handle = m_window.windowHandle();
        if (handle && handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
            return;
        m_ownSizing = true;
        m_cornerOffset = m_window.geometry().bottomRight() - QCursor::pos();
    }
    const QPoint corner = QCursor::pos() + m_cornerOffset;
    QSize size(corner.x() - m_window.x() + 1, corner.y() - m_window.y() + 1);
    if (const QWindow* handle = m_window.windowHandle())
        size = size.expandedTo(handle->minimumSize());
    m_window.resize(size);
}
