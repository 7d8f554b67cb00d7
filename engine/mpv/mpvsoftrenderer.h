// Draws mpv's pictures with the processor into an image that the view paints: mpv scales and
// converts each frame once, straight into that image, on a thread of the renderer's own. No
// OpenGL driver is loaded, and the only picture buffers are that one image and the window's own.
// Each frame is drawn as soon as mpv hands it over and shown at mpv's time for it, as mpv's own
// outputs do; the next is drawn once the view has copied it. A frame that is slow to draw (a
// hostile subtitle file, a huge picture) holds up that thread, never the window.
#pragma once

#include "engine/mpv/picturerenderer.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

struct mpv_handle;

class MpvSoftRenderer : public PictureRenderer
{
    Q_OBJECT
public:
    // Null when mpv cannot draw in software.
    static std::unique_ptr<MpvSoftRenderer> create(mpv_handle* mpv);
    ~MpvSoftRenderer() override;

    bool drawsIntoWindow() const override { return false; }
    void paint(QPainter& painter, const QRect& target) const override;
    void setTargetSize(const QSize& pixels) override;
    void redraw() override;
    // Drawn on the calling thread, after any frame the drawing thread is on.
    QImage grab() override;

private:
    MpvSoftRenderer() = default;
    void start();
    // On the GUI thread: mpv's updates never come here, they wake the drawing thread.
    void render() override {}
    void updateFromMpv() override;
    void drawLoop();
    // One frame into the image, then shown.
    void drawFrame(const QSize& size);
    bool drawInto(QImage& image);
    // When mpv means the next frame to be seen, on its clock (mpv_get_time_us); 0 for now.
    std::int64_t nextFrameTime() const;
    void waitUntil(std::int64_t showAt);
    // Until the view has copied the frame last shown, so that drawing the next loses nothing.
    void awaitPaint();
    void shown();

    // What the GUI thread asks of the drawing thread, and what it tells back.
    mutable std::mutex m_lock;
    mutable std::condition_variable m_wake;
    QSize m_targetSize{320, 240};
    bool m_updatePending = false;
    bool m_redrawPending = false;
    bool m_stopping = false;
    // A frame was shown and the view has not copied it yet.
    mutable bool m_paintAwaited = false;
    // False once a shown frame went unpainted for a while (the window hidden or minimised): the
    // drawing thread stops waiting for the view until it paints again.
    mutable bool m_viewPaints = true;

    // The picture, held while mpv draws into it or the view copies it.
    mutable std::timed_mutex m_imageLock;
    QImage m_image;
    bool m_hasPicture = false;

    // Held by whichever thread calls mpv's render functions, which never run at once.
    std::mutex m_renderLock;
    std::atomic<bool> m_shownQueued{false};
    std::thread m_thread;
    mpv_handle* m_mpv = nullptr;
};
