// Draws mpv's pictures with an OpenGL context of its own, on the GUI thread (subtitles too, so a
// hostile subtitle file holds the window until slowFrame has them switched off). While the view's
// native window is on screen, mpv draws straight into it and the frame is presented: one pass
// per frame. While it is not (the window hidden or minimised), mpv's video output still waits
// for every frame to be drawn, so drawing goes on into a framebuffer off screen.
#pragma once

#include "engine/mpv/picturerenderer.h"

#include <QPointer>
#include <QSurfaceFormat>
#include <memory>

struct mpv_handle;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QWindow;

class MpvRenderer : public PictureRenderer
{
    Q_OBJECT
public:
    // Null when no OpenGL context can be made.
    static std::unique_ptr<MpvRenderer> create(mpv_handle* mpv);
    ~MpvRenderer() override;

    // The format of the context and of the window drawn into. No waiting for the screen's
    // refresh: the GUI thread draws, and mpv times the frames itself.
    static QSurfaceFormat surfaceFormat();

    bool drawsIntoWindow() const override { return true; }
    // The native window to draw into while it is exposed; null for none.
    void setWindow(QWindow* window) override;
    // The picture's size in device pixels for drawing off screen.
    void setTargetSize(const QSize& pixels) override;
    void redraw() override;
    // The present picture at the target size, drawn off screen and read back.
    QImage grab() override;

private:
    MpvRenderer();
    bool initialize(mpv_handle* mpv);
    void render() override;
    bool drawOnScreen();
    bool drawOffScreen();

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    QPointer<QWindow> m_window;
    QSize m_targetSize{320, 240};
};
