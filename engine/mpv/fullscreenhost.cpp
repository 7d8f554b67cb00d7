#include "engine/mpv/fullscreenhost.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

FullScreenHost::FullScreenHost() = default;

FullScreenHost::~FullScreenHost() = default;

void FullScreenHost::enter(QWidget& view)
{
    m_fittedParent = view.parentWidget();
    QScreen* screen = view.window()->screen();
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setObjectName(QStringLiteral("engineFullScreen"));
    window->setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&view);
    window->setFocusProxy(&view);
    window->installEventFilter(this);
    if (screen)
        window->setGeometry(screen->geometry());
    m_window = std::move(window);
    m_window->showFullScreen();
    view.show();
    view.setFocus();
    m_window->activateWindow();
}

void FullScreenHost::leave(QWidget& view, const QRect& rect)
{
    if (!m_window)
        return;
    m_window->removeEventFilter(this);
    m_window->setFocusProxy(nullptr);
    view.setParent(m_fittedParent);
    if (rect.isValid())
        view.setGeometry(rect);
    view.show();
    m_window.reset();
}

bool FullScreenHost::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the full-screen window through the window manager leaves full screen.
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        event->ignore();
        QTimer::singleShot(0, this, &FullScreenHost::closeRequested);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
