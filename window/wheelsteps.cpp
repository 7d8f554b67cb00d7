#include "window/wheelsteps.h"

#include <QAction>
#include <QWheelEvent>
#include <QWidget>

namespace {
// A notch of an ordinary wheel, in eighths of a degree.
constexpr int notch = 120;
} // namespace

WheelSteps::WheelSteps(QAction& up, QAction& down, QObject* parent)
    : QObject(parent), m_up(up), m_down(down)
{
}

void WheelSteps::watch(QWidget* widget)
{
    if (widget)
        widget->installEventFilter(this);
}

bool WheelSteps::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    // Turned away from the user steps up.
    m_turned += static_cast<QWheelEvent*>(event)->angleDelta().y();
    for (; m_turned >= notch; m_turned -= notch)
        m_up.trigger();
    for (; m_turned <= -notch; m_turned += notch)
        m_down.trigger();
    event->accept();
    return true;
}
