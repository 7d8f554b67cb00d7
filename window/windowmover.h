// Moving and sizing the borderless main window: a drag on its surface moves it, the size
// grip starts the window manager's own corner sizing.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QMouseEvent;
class QPointF;
class QWidget;

// A window dragged by a part of it, in twips as the window's own arithmetic works.
namespace WindowDrag {
// The mouse's place from origin (global pixels: where the pressed part stands now, not where
// the event found it, so moves that arrive before the window server caught up cannot make the
// window jump), in twips.
QPoint mouseTwips(const QWidget& window, const QPointF& global, const QPoint& origin);
// Moves window so that pressTwips stays under mouseTwips.
void follow(QWidget& window, const QPoint& pressTwips, const QPoint& mouseTwips);
} // namespace WindowDrag

class WindowMover : public QObject
{
    Q_OBJECT
public:
    // maximised tells whether the window is maximised: no drag then.
    WindowMover(QWidget& window, std::function<bool()> maximised);

    // A drag is in progress.
    bool boolis() const { return m_boolis; }

    // How a drag moves the window: by the press point's arithmetic where clients may place
    // their windows (X11), or by the window system's own move (Wayland). Chosen from the
    // platform; tests try the other one.
    enum class Mode
    {
        Arithmetic,
        System
    };
    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }

signals:
    void menuRequested(const QPoint& globalPos);
    // The mouse moved over the surface (dragging or not): the playlist docks.
    void surfaceMoved();
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    QPoint mouseTwips(const QMouseEvent& event) const;

    QWidget& m_window;
    std::function<bool()> m_maximised;
    Mode m_mode;
    int m_startDragX = 0;
    int m_startDragY = 0;
    bool m_boolis = false;
};

class SizeGrip : public QObject
{
    Q_OBJECT
public:
    explicit SizeGrip(QWidget& window);

    // The mouse moved over the grip with these buttons held.
    void moved(Qt::MouseButtons buttons);
    void released() { m_ownSizing = false; }

private:
    QWidget& m_window;
    // Without a window manager to size the window, the grip sizes it itself.
    bool m_ownSizing = false;
    QPoint m_cornerOffset;
};
