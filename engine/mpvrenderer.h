// Draws mpv's pictures into a texture of an OpenGL context of its own, on the GUI thread,
// whether the view is on screen or not: mpv's video output waits for every frame to be
// drawn, so drawing must go on while the window is hidden. The view shows the texture; the
// context shares textures with every widget context, so the view may change windows freely.
#pragma once

#include <QObject>
#include <QSize>
#include <atomic>
#include <memory>

struct mpv_handle;
struct mpv_render_context;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

class MpvRenderer : public QObject
{
    Q_OBJECT
public:
    // Null when no OpenGL context sharing with the application's widgets can be made (the
    // application was not prepared, or there is no OpenGL).
    static std::unique_ptr<MpvRenderer> create(mpv_handle* mpv);
    ~MpvRenderer() override;

    // The picture's size in device pixels; redraws at once.
    void setTargetSize(const QSize& pixels);
    // The texture holding the latest picture; 0 before the first one.
    unsigned texture() const;
    QSize textureSize() const;

signals:
    void frameReady();

private:
    MpvRenderer();
    bool initialize(mpv_handle* mpv);
    void onUpdate();
    void render();

    struct RenderContextDeleter
    {
        void operator()(mpv_render_context* context) const;
    };

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::unique_ptr<mpv_render_context, RenderContextDeleter> m_render;
    QSize m_targetSize{320, 240};
    // mpv calls from its own threads; one queued update at a time is enough.
    std::atomic<bool> m_updateQueued{false};
};
