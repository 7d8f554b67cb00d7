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
    QImage picture;
    {
        const std::lock_guard guard(m_lock);
        picture = m_latest;
    }
    if (picture.isNull())
        painter.fillRect(target, Qt::black);
    else
        painter.drawImage(target, picture);
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
        const std::lock_guard guard(m_renderLock);
        if (update && (mpv_render_context_update(context()) & MPV_RENDER_UPDATE_FRAME))
            redraw = true;
        // mpv's video output waits for every frame to be drawn, shown or not.
        if (redraw)
            drawFrame(size);
    }
}

std::int64_t MpvSoftRenderer::nextFrameTime() const
{
    mpv_render_frame_info next{};
    if (mpv_render_context_get_info(context(), {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &next}) < 0 ||
        !(next.flags & MPV_RENDER_FRAME_INFO_PRESENT) || (next.flags & MPV_RENDER_FRAME_INFO_REDRAW))
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
    const std::int64_t showAt = nextFrameTime();
    QImage& image = m_images[m_next];
    // The view may still be painting the last image but one: then it gets a new one.
    if (image.size() != size || !image.isDetached())
        image = alignedImage(size);
    QElapsedTimer drawing;
    drawing.start();
    if (image.isNull() || !drawInto(image))
        return;
    // Queued to the GUI thread, where the engine hears it.
    if (drawing.elapsed() >= slowFrameMs)
        emit slowFrame(drawing.elapsed());
    waitUntil(showAt);
    mpv_render_context_report_swap(context());
    {
        const std::lock_guard guard(m_lock);
        m_latest = image;
    }
    m_next = 1 - m_next;
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
