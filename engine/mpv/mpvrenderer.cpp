#include "engine/mpv/mpvrenderer.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QWindow>
#include <dlfcn.h>
#include <link.h>
#include <mpv/render_gl.h>

namespace {
void* getProcAddress(void* /*context*/, const char* name)
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

// Mesa unloads its driver when the X display closes at exit; leak checkers then no longer
// see the driver's own memory and report it as lost. The driver is in use for the whole run
// anyway, so it stays loaded to the end of the process.
void keepOpenGlDriverLoaded()
{
    static const bool kept = [] {
        QByteArrayList drivers;
        dl_iterate_phdr(
            [](dl_phdr_info* info, std::size_t, void* found) {
                const QByteArray name(info->dlpi_name);
                if (name.contains("/dri/") && name.endsWith("_dri.so"))
                    static_cast<QByteArrayList*>(found)->append(name);
                return 0;
            },
            &drivers);
        for (const QByteArray& driver : drivers)
            dlopen(driver.constData(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
        return true;
    }();
    Q_UNUSED(kept);
}
} // namespace

MpvRenderer::MpvRenderer() = default;

std::unique_ptr<MpvRenderer> MpvRenderer::create(mpv_handle* mpv)
{
    std::unique_ptr<MpvRenderer> renderer(new MpvRenderer);
    if (!renderer->initialize(mpv))
        return nullptr;
    return renderer;
}

QSurfaceFormat MpvRenderer::surfaceFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSwapInterval(0);
    return format;
}

bool MpvRenderer::initialize(mpv_handle* mpv)
{
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(surfaceFormat());
    if (!m_context->create())
        return false;
    m_surface = std::make_unique<QOffscreenSurface>();
    m_surface->setFormat(m_context->format());
    m_surface->create();
    if (!m_surface->isValid() || !m_context->makeCurrent(m_surface.get()))
        return false;
    keepOpenGlDriverLoaded();

    mpv_opengl_init_params glInit{&getProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    const bool created = mpv_render_context_create(&context, mpv, params) >= 0;
    m_context->doneCurrent();
    if (!created)
        return false;
    takeContext(context);
    return true;
}

MpvRenderer::~MpvRenderer()
{
    if (!m_context || !m_surface || !m_context->makeCurrent(m_surface.get()))
        return;
    // mpv and the framebuffer release their OpenGL objects in the context that made them.
    releaseContext();
    m_fbo.reset();
    m_context->doneCurrent();
}

void MpvRenderer::setWindow(QWindow* window)
{
    m_window = window;
}

void MpvRenderer::setTargetSize(const QSize& pixels)
{
    // Off screen no more is drawn than a screen shows, as in software.
    const QSize size = boundedTarget(pixels);
    if (size == m_targetSize)
        return;
    m_targetSize = size;
    // Off screen, the picture is redrawn at the new size; on screen the window's resize does it.
    if (!m_window || !m_window->isExposed())
        render();
}

void MpvRenderer::redraw()
{
    render();
}

QImage MpvRenderer::grab()
{
    if (!drawOffScreen())
        return {};
    QImage image = m_fbo->toImage();
    m_context->doneCurrent();
    return image;
}

void MpvRenderer::render()
{
    if (!context())
        return;
    QElapsedTimer drawing;
    drawing.start();
    const bool drawn = m_window && m_window->isExposed() ? drawOnScreen() : drawOffScreen();
    if (!drawn)
        return;
    if (drawing.elapsed() >= slowFrameMs)
        emit slowFrame(drawing.elapsed());
    m_context->doneCurrent();
    mpv_render_context_report_swap(context());
    emit frameReady();
}

namespace {
// Drawn bottom-up, as OpenGL reads framebuffers, both the window's and the one read back.
// The GUI thread draws; it must not sit waiting for a frame's display time.
bool drawInto(mpv_render_context* render, int framebuffer, const QSize& size)
{
    mpv_opengl_fbo target{framebuffer, size.width(), size.height(), 0};
    int flipY = 1;
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &target},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(render, params) >= 0;
}
} // namespace

bool MpvRenderer::drawOnScreen()
{
    if (!m_context->makeCurrent(m_window))
        return false;
    const QSize pixels = (QSizeF(m_window->size()) * m_window->devicePixelRatio()).toSize();
    drawInto(context(), static_cast<int>(m_context->defaultFramebufferObject()),
             pixels.expandedTo(QSize(1, 1)));
    m_context->swapBuffers(m_window);
    // On screen, a framebuffer off screen would only hold a second copy of the picture.
    m_fbo.reset();
    return true;
}

bool MpvRenderer::drawOffScreen()
{
    if (!m_context->makeCurrent(m_surface.get()))
        return false;
    if (!m_fbo || m_fbo->size() != m_targetSize)
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(m_targetSize);
    drawInto(context(), static_cast<int>(m_fbo->handle()), m_targetSize);
    return true;
}
