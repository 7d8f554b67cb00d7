#include "engine/mpvsoftrenderer.h"

#include "engine/picturedrawing.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
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
    renderer->takeContext(context);
    return renderer;
}

MpvSoftRenderer::~MpvSoftRenderer() = default;

void MpvSoftRenderer::paint(QPainter& painter, const QRect& target) const
{
    if (m_picture.isNull())
        painter.fillRect(target, Qt::black);
    else
        painter.drawImage(target, m_picture);
}

void MpvSoftRenderer::setTargetSize(const QSize& pixels)
{
    // A large picture zoomed makes a window far larger than any screen; no more is drawn than
    // a screen can show, and the view scales that up.
    QSize largestScreen;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize size = screen->size() * screen->devicePixelRatio();
        largestScreen = largestScreen.expandedTo(size);
    }
    const QSize size = PictureDrawing::boundedSize(pixels, largestScreen);
    if (size == m_targetSize)
        return;
    m_targetSize = size;
    render();
}

void MpvSoftRenderer::redraw()
{
    render();
}

QImage MpvSoftRenderer::grab()
{
    QImage image = alignedImage(m_targetSize);
    if (image.isNull() || !drawInto(image))
        return {};
    return image;
}

void MpvSoftRenderer::render()
{
    if (!context())
        return;
    // mpv's video output waits for every frame to be drawn, shown or not.
    if (m_picture.size() != m_targetSize)
        m_picture = alignedImage(m_targetSize);
    if (m_picture.isNull() || !drawInto(m_picture))
        return;
    mpv_render_context_report_swap(context());
    emit frameReady();
}

bool MpvSoftRenderer::drawInto(QImage& image)
{
    int size[2] = {image.width(), image.height()};
    // QImage::Format_RGB32 is one 0xffRRGGBB word per pixel, in the machine's byte order.
    const char* format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";
    std::size_t stride = std::size_t(image.bytesPerLine());
    // The GUI thread draws; it must not sit waiting for a frame's display time.
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
