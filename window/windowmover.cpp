#include "window/windowmover.h"

#include "common/twips.h"
#include "controls/pointer.h"
#include "controls/screentwips.h"
#include "platform/windowsystem.h"
#include "window/geometry.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowMover::WindowMover(QWidget& window, std::function<bool()> maximised)
    : QObject(&window), m_window(window), m_maximised(std::move(maximised)),
      m_mode(WindowSystem::compositorDecides() ? Mode::System : Mode::Arithmetic)
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

QPoint WindowDrag::mouseTwips(const QWidget& window, const QPointF& global, const QPoint& origin)
{
    const QPointF local = global - QPointF(origin);
    const TwipsPerPixel tpp = twipsPerPixel(&window);
    return {static_cast<int>(std::lround(local.x() * tpp.x)),
            static_cast<int>(std::lround(local.y() * tpp.y))};
}

void WindowDrag::follow(QWidget& window, const QPoint& pressTwips, const QPoint& mouseTwips)
{
    const TwipsPerPixel tpp = twipsPerPixel(&window);
    const QPoint topLeft(Twips::fromPixels(window.x(), tpp.x),
                         Twips::fromPixels(window.y(), tpp.y));
    const QPoint to = WindowGeometry::dragged(topLeft, pressTwips, mouseTwips);
    window.move(Twips::toPixels(to.x(), tpp.x), Twips::toPixels(to.y(), tpp.y));
}

QPoint WindowMover::mouseTwips(const QMouseEvent& event) const
{
    return WindowDrag::mouseTwips(m_window, event.globalPosition(), m_window.pos());
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
    if (m_boolis)
        WindowDrag::follow(m_window, QPoint(m_startDragX, m_startDragY), mouseTwips(event));
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
