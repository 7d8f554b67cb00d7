#include "engine/mpv/picturerenderer.h"

#include "common/starttrace.h"
#include "engine/picturedrawing.h"

#include <QGuiApplication>
#include <QScreen>
#include <mpv/render.h>

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
