// Draws mpv's pictures with the processor into an image that the view paints: mpv scales and
// converts each frame once, straight into that image, on a thread of the renderer's own. No
// OpenGL driver is loaded, and the only picture buffers are two images (one drawn, one shown)
// and the window's own. Each frame is drawn as soon as mpv hands it over and shown at mpv's time
// for it, as mpv's own outputs do. A frame that is slow to draw (a hostile subtitle file, a huge
// picture) holds up that thread, never the window.
#pragma once

#include "engine/mpv/picturerenderer.h"

#include <array>
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
    // One frame into one of the two images, then shown.
    void drawFrame(const QSize& size);
    bool drawInto(QImage& image);
    // When mpv means the next frame to be seen, on its clock (mpv_get_time_us); 0 for now.
    std::int64_t nextFrameTime() const;
    void waitUntil(std::int64_t showAt);
    void shown();

    // What the GUI thread asks of the drawing thread.
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    QSize m_targetSize{320, 240};
    bool m_updatePending = false;
    bool m_redrawPending = false;
    bool m_stopping = false;
    // The last frame drawn, as the view paints it.
    QImage m_latest;

    // Held by whichever thread calls mpv's render functions, which never run at once.
    std::mutex m_renderLock;
    // The drawing thread's own: it draws into the one the view does not hold.
    std::array<QImage, 2> m_images;
    std::size_t m_next = 0;
    std::atomic<bool> m_shownQueued{false};
    std::thread m_thread;
    mpv_handle* m_mpv = nullptr;
};
