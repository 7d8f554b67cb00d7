// Answers a modal window that a test's action is about to show: waits for it, bounded, and
// acts on it once; closes whatever is modal when it never comes, so tests end instead of hang.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

template <typename T> class WhenShown
{
public:
    explicit WhenShown(std::function<void(T*)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    bool seen() const { return m_seen; }

private:
    void poll()
    {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            window != nullptr && window->isVisible()) {
            m_timer.stop();
            m_seen = true;
            m_action(window);
            return;
        }
        if (++m_polls > 500) {
            // Never shown: close whatever is modal so that the test ends instead of hanging.
            m_timer.stop();
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        }
    }

    std::function<void(T*)> m_action;
    QTimer m_timer;
    int m_polls = 0;
    bool m_seen = false;
};
