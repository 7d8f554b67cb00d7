// The widget that shows the engine's picture. With OpenGL the picture goes to a native child
// window of its own, which the renderer draws straight into, so the main window never composes
// video frames; drawn in software, the widget paints the renderer's image. The widget itself
// takes the mouse and keys (the child lets input through) and hands them on.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class PictureRenderer;
class QWindow;

class MpvView : public QWidget
{
    Q_OBJECT
public:
    enum class MouseAction
    {
        Press,
        Release,
        Move,
        Leave
    };

    explicit MpvView(QWidget* parent = nullptr);
    ~MpvView() override;

    void setRenderer(PictureRenderer* renderer);
    // The picture as drawn at the view's size in device pixels, black before the first one.
    QImage grabFramebuffer() const;

    // A short text drawn on black in place of the picture, for durationMs or until cleared;
    // for the times when no file is open and mpv has nothing to draw it on.
    void showMessage(const QString& text, int durationMs);
    void clearMessage();
    QString message() const { return m_message; }

signals:
    void pixelSizeChanged(const QSize& pixels);
    void mouseAction(MpvView::MouseAction action, Qt::MouseButton button,
                     Qt::KeyboardModifiers modifiers, const QPointF& pos);
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    void escapePressed();
    // The view was first drawn on screen.
    void exposed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QSize pixelSize() const;

    QPointer<PictureRenderer> m_renderer;
    // Made with the renderer; owned by m_container.
    QWindow* m_surface = nullptr;
    QWidget* m_container = nullptr;
    bool m_shown = false;
    QString m_message;
    QTimer* m_messageTimer;
};
