// What draws mpv's pictures for the view: OpenGL into a native window of the view's own, or the
// processor into an image that the view paints (where OpenGL would itself only be drawn by the
// processor, at twice the memory and time).
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <atomic>
#include <memory>

struct mpv_render_context;
class QPainter;
class QWindow;

class PictureRenderer : public QObject
{
    Q_OBJECT
public:
    // True: the renderer draws into the native window it is given (setWindow). False: the view
    // paints the picture itself (paint), once frameReady says it changed.
    virtual bool drawsIntoWindow() const = 0;
    virtual void setWindow(QWindow* /*window*/) {}
    virtual void paint(QPainter& /*painter*/, const QRect& /*target*/) const {}
    // The picture's size in device pixels.
    virtual void setTargetSize(const QSize& pixels) = 0;
    // Draws the present picture again, as after an exposure.
    virtual void redraw() = 0;
    // The present picture at the target size.
    virtual QImage grab() = 0;

signals:
    void frameReady();

protected:
    // Takes the render context. mpv's update calls come from its own threads; each becomes one
    // queued draw on the GUI thread, and a new frame is drawn with render().
    void takeContext(mpv_render_context* context);
    mpv_render_context* context() const { return m_render.get(); }
    // For a renderer whose context must be freed under its own conditions (OpenGL: current).
    void releaseContext() { m_render.reset(); }
    virtual void render() = 0;

private:
    void onUpdate();

    struct ContextDeleter
    {
        void operator()(mpv_render_context* context) const;
    };
    std::unique_ptr<mpv_render_context, ContextDeleter> m_render;
    // One queued update at a time is enough.
    std::atomic<bool> m_updateQueued{false};
};
