#include "engine/mpv/picturerenderer.h"

#include "common/starttrace.h"
#include "engine/mpv/directrendering.h"
#include "engine/mpv/mpvclient.h"
#include "engine/mpv/mpvrenderer.h"
#include "engine/mpv/mpvsoftrenderer.h"
#include "engine/picturedrawing.h"

#include <QGuiApplication>
#include <QScreen>
#include <mpv/render.h>

std::unique_ptr<PictureRenderer> PictureRenderer::create(mpv_handle* mpv)
{
    const PictureDrawing::Kind kind =
        PictureDrawing::choose(qEnvironmentVariable("ORVELLA_RENDER"),
                               !qEnvironmentVariableIsEmpty("LIBGL_ALWAYS_SOFTWARE") &&
                                   qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE") != u"0",
                               DirectRendering::available());
    if (kind == PictureDrawing::Kind::OpenGl) {
        if (auto renderer = MpvRenderer::create(mpv))
            return renderer;
        // No OpenGL context: the picture is still drawn, in software.
        qCWarning(lcMpv) << "no OpenGL context could be made; drawing the picture in software.";
    }
    return MpvSoftRenderer::create(mpv);
}

void PictureRenderer::ContextDeleter::operator()(mpv_render_context* context) const
{
    mpv_render_context_free(context);
}

void PictureRenderer::takeContext(mpv_render_context* context, Updates updates)
{
    m_render.reset(context);
    m_updates = updates;
    mpv_render_context_set_update_callback(
        context,
        [](void* self) {
            auto* renderer = static_cast<PictureRenderer*>(self);
            if (renderer->m_updates == Updates::OnMpvThreads)
                renderer->updateFromMpv();
            else if (!renderer->m_updateQueued.exchange(true))
                QMetaObject::invokeMethod(renderer, &PictureRenderer::onUpdate,
                                          Qt::QueuedConnection);
        },
        this);
}

void PictureRenderer::onUpdate()
{
    m_updateQueued = false;
    if (m_render && mpv_render_context_update(m_render.get()) & MPV_RENDER_UPDATE_FRAME) {
        render();
        markFirstFrame();
    }
}

void PictureRenderer::markFirstFrame()
{
    StartTrace::mark("first frame drawn");
}

QSize PictureRenderer::boundedTarget(const QSize& pixels)
{
    QSize largestScreen;
    for (const QScreen* screen : QGuiApplication::screens())
        largestScreen = largestScreen.expandedTo(screen->size() * screen->devicePixelRatio());
    return PictureDrawing::boundedSize(pixels, largestScreen);
}
