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

struct mpv_handle;
struct mpv_render_context;
class QPainter;
class QWindow;

class PictureRenderer : public QObject
{
    Q_OBJECT
public:
    // A graphics card draws a frame in a few milliseconds, the processor a 1080p one in about
    // ten, and libass a richly styled line in tens; a frame that takes this long is hostile.
    static constexpr qint64 slowFrameMs = 250;

    // OpenGL where a graphics card draws it (or ORVELLA_RENDER asks for it), else the
    // processor; null when neither can draw for mpv.
    static std::unique_ptr<PictureRenderer> create(mpv_handle* mpv);

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
    // One frame took ms milliseconds to draw, slowFrameMs or more: on the GUI thread (OpenGL),
    // the window did not answer meanwhile; on the drawing thread, the film fell behind.
    void slowFrame(qint64 ms);

protected:
    // Where mpv's update calls go: each becomes one queued draw on the GUI thread (render()), or
    // they reach updateFromMpv on mpv's own threads, for a renderer that draws on a thread of
    // its own.
    enum class Updates
    {
        OnGuiThread,
        OnMpvThreads,
    };
    // Takes the render context.
    void takeContext(mpv_render_context* context, Updates updates = Updates::OnGuiThread);
    // Called on one of mpv's threads with Updates::OnMpvThreads; it may call no mpv function.
    virtual void updateFromMpv() {}
    // The first frame is on screen; on the GUI thread.
    static void markFirstFrame();
    // The size to draw a picture of pixels at: no larger than the largest screen shows
    // (PictureDrawing::boundedSize); beyond it the picture is scaled up.
    static QSize boundedTarget(const QSize& pixels);
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
    Updates m_updates = Updates::OnGuiThread;
};
