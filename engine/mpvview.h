// The widget that shows the engine's picture: paints the renderer's latest texture over its
// whole area and hands mouse and key input to the engine.
#pragma once

#include <QOpenGLTextureBlitter>
#include <QOpenGLWidget>
#include <QPointer>

class MpvRenderer;

class MpvView : public QOpenGLWidget
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

    void setRenderer(MpvRenderer* renderer);

signals:
    void pixelSizeChanged(const QSize& pixels);
    void mouseAction(MpvView::MouseAction action, Qt::MouseButton button,
                     Qt::KeyboardModifiers modifiers, const QPointF& pos);
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    void escapePressed();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void releaseGL();

    QPointer<MpvRenderer> m_renderer;
    QOpenGLTextureBlitter m_blitter;
};
