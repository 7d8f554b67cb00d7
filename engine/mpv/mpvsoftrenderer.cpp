#include "engine/mpv/mpvsoftrenderer.h"

#include "engine/picturedrawing.h"

#include <QElapsedTimer>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <mpv/render.h>

namespace {
// mpv's fast paths want rows and their start on 64-byte boundaries.
constexpr qsizetype kAlignment = 64;
// The longest the view waits for the drawing thread to finish with the picture.
constexpr int kLongestPaintWaitMs = 20;

// An opaque image whose rows start on kAlignment, owning its pixels.
QImage alignedImage(const QSize& size)
{
    const qsizetype stride =
        (qsizetype(size.width()) * 4 + kAlignment - 1) / kAlignment * kAlignment;
    void* pixels = std::aligned_alloc(kAlignment, std::size_t(stride * size.height()));
    if (!pixels)
        return {};
    QImage image(
        static_cast<uchar*>(pixels), size.width(), size.height(), stride, QImage::Format_RGB32,
        [](void* data) { std::free(data); }, pixels);
    image.fill(Qt::black);
    return image;
}
} // namespace

std::unique_ptr<MpvSoftRenderer> MpvSoftRenderer::create(mpv_handle* mpv)
{
    std::unique_ptr<MpvSoftRenderer> renderer(new MpvSoftRenderer);
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (mpv_render_context_create(&context, mpv, params) < 0)
        return nullptr;
    renderer->m_mpv = mpv;
    renderer->takeContext(context, Updates::OnMpvThreads);
    renderer->start();
    return renderer;
}

MpvSoftRenderer::~MpvSoftRenderer()
{
    {
        const std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
    // mpv may still call back until the context is freed; nothing is there to call any more.
    if (context())
        mpv_render_context_set_update_callback(context(), nullptr, nullptr);
}

void MpvSoftRenderer::start()
{
    m_thread = std::thread([this] { drawLoop(); });
}

void MpvSoftRenderer::updateFromMpv()
{
    {
        const std::lock_guard guard(m_lock);
        m_updatePending = true;
    }
    m_wake.notify_one();
}

void MpvSoftRenderer::paint(QPainter& painter, const QRect& target) const
{
    {
        // The drawing thread holds the image for one frame's drawing, a few milliseconds; a
        // frame that takes longer (a hostile subtitle file) does not hold the window with it.
        std::unique_lock image(m_imageLock, std::defer_lock);
        if (image.try_lock_for(std::chrono::milliseconds(kLongestPaintWaitMs)) && m_hasPicture)
            painter.drawImage(target, m_image);
        else
            painter.fillRect(target, Qt::black);
    }
    {
        const std::lock_guard guard(m_lock);
        m_paintAwaited = false;
        m_viewPaints = true;
    }
    m_wake.notify_one();
}

void MpvSoftRenderer::setTargetSize(const QSize& pixels)
{
    // A large picture zoomed makes a window far larger than any screen; no more is drawn than
    // a screen can show, and the view scales that up.
    const QSize size = boundedTarget(pixels);
    {
        const std::lock_guard guard(m_lock);
        if (size == m_targetSize)
            return;
        m_targetSize = size;
        m_redrawPending = true;
    }
    m_wake.notify_one();
}

void MpvSoftRenderer::redraw()
{
    {
        const std::lock_guard guard(m_lock);
        m_redrawPending = true;
    }
    m_wake.notify_one();
}

QImage MpvSoftRenderer::grab()
{
    QSize size;
    {
        const std::lock_guard guard(m_lock);
        size = m_targetSize;
    }
    QImage image = alignedImage(size);
    const std::lock_guard guard(m_renderLock);
    if (image.isNull() || !drawInto(image))
        return {};
    return image;
}

void MpvSoftRenderer::drawLoop()
{
    for (;;) {
        bool update = false;
        bool redraw = false;
        QSize size;
        {
            std::unique_lock guard(m_lock);
            m_wake.wait(guard, [this] { return m_stopping || m_updatePending || m_redrawPending; });
            if (m_stopping)
                return;
            update = std::exchange(m_updatePending, false);
            redraw = std::exchange(m_redrawPending, false);
            size = m_targetSize;
        }
        awaitPaint();
        // mpv's video output waits for every frame to be drawn, shown or not.
        if (update) {
            const std::lock_guard guard(m_renderLock);
            if (mpv_render_context_update(context()) & MPV_RENDER_UPDATE_FRAME)
                redraw = true;
        }
        if (redraw)
            drawFrame(size);
    }
}

void MpvSoftRenderer::awaitPaint()
{
    std::unique_lock guard(m_lock);
    if (!m_paintAwaited || !m_viewPaints)
        return;
    // A view that paints copies a frame within milliseconds of its being shown.
    if (!m_wake.wait_for(guard, std::chrono::milliseconds(kLongestPaintWaitMs * 2),
                         [this] { return m_stopping || !m_paintAwaited; }))
        m_viewPaints = false;
    m_paintAwaited = false;
}

std::int64_t MpvSoftRenderer::nextFrameTime() const
{
    mpv_render_frame_info next{};
    if (mpv_render_context_get_info(context(), {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &next}) < 0 ||
        !(next.flags & MPV_RENDER_FRAME_INFO_PRESENT) ||
        (next.flags & MPV_RENDER_FRAME_INFO_REDRAW))
        return 0;
    return next.target_time;
}

void MpvSoftRenderer::waitUntil(std::int64_t showAt)
{
    const std::chrono::microseconds wait =
        PictureDrawing::waitBeforeShowing(showAt, showAt > 0 ? mpv_get_time_us(m_mpv) : 0);
    if (wait.count() <= 0)
        return;
    // A new size or the end does not wait for the frame's time.
    std::unique_lock guard(m_lock);
    m_wake.wait_for(guard, wait, [this] { return m_stopping || m_redrawPending; });
}

void MpvSoftRenderer::drawFrame(const QSize& size)
{
    // Drawn at once, shown at the frame's own time, as mpv's own outputs do: a frame shown as
    // soon as it is drawn comes early and unevenly, and two may meet between two screen updates.
    QElapsedTimer drawing;
    std::int64_t showAt = 0;
    {
        const std::lock_guard render(m_renderLock);
        showAt = nextFrameTime();
        const std::lock_guard image(m_imageLock);
        if (m_image.size() != size)
            m_image = alignedImage(size);
        drawing.start();
        m_hasPicture = !m_image.isNull() && drawInto(m_image);
        if (!m_hasPicture)
            return;
    }
    // Queued to the GUI thread, where the engine hears it.
    if (drawing.elapsed() >= slowFrameMs)
        emit slowFrame(drawing.elapsed());
    waitUntil(showAt);
    mpv_render_context_report_swap(context());
    {
        const std::lock_guard guard(m_lock);
        m_paintAwaited = true;
    }
    if (!m_shownQueued.exchange(true))
        QMetaObject::invokeMethod(this, &MpvSoftRenderer::shown, Qt::QueuedConnection);
}

void MpvSoftRenderer::shown()
{
    m_shownQueued = false;
    markFirstFrame();
    emit frameReady();
}

bool MpvSoftRenderer::drawInto(QImage& image)
{
    int size[2] = {image.width(), image.height()};
    // QImage::Format_RGB32 is one 0xffRRGGBB word per pixel, in the machine's byte order.
    const char* format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";
    std::size_t stride = std::size_t(image.bytesPerLine());
    // The drawing thread waits for a frame's time itself (waitUntil), where a new size or the
    // end can cut the wait short; mpv's own wait cannot be.
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(context(), params) >= 0;
}
