#include "engine/mpvview.h"

#include "engine/mpvrenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

MpvView::MpvView(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("engineView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

MpvView::~MpvView()
{
    // The base class destroys the context after this part of the object is gone.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    releaseGL();
}

void MpvView::setRenderer(MpvRenderer* renderer)
{
    m_renderer = renderer;
    if (renderer)
        connect(renderer, &MpvRenderer::frameReady, this, qOverload<>(&QWidget::update));
    update();
}

void MpvView::initializeGL()
{
    // The blitter belongs to this widget's context, which Qt may replace; build it again then.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvView::releaseGL,
            Qt::UniqueConnection);
}

void MpvView::releaseGL()
{
    if (!m_blitter.isCreated())
        return;
    makeCurrent();
    m_blitter.destroy();
    doneCurrent();
}

void MpvView::resizeGL(int width, int height)
{
    emit pixelSizeChanged(QSize(width, height));
}

void MpvView::paintGL()
{
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    const unsigned texture = m_renderer ? m_renderer->texture() : 0;
    if (texture == 0)
        return;
    if (!m_blitter.isCreated() && !m_blitter.create())
        return;
    const QSize pixels = size() * devicePixelRatioF();
    const QRect target(QPoint(0, 0), pixels);
    m_blitter.bind();
    m_blitter.blit(texture, QOpenGLTextureBlitter::targetTransform(target, target),
                   QOpenGLTextureBlitter::OriginTopLeft);
    m_blitter.release();
}

void MpvView::mousePressEvent(QMouseEvent* event)
{
    emit mouseAction(MouseAction::Press, event->button(), event->modifiers(), event->position());
}

void MpvView::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseAction(MouseAction::Release, event->button(), event->modifiers(), event->position());
}

void MpvView::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseAction(MouseAction::Move, Qt::NoButton, event->modifiers(), event->position());
}

void MpvView::leaveEvent(QEvent* event)
{
    QOpenGLWidget::leaveEvent(event);
    emit mouseAction(MouseAction::Leave, Qt::NoButton, Qt::NoModifier, QPointF());
}

void MpvView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit escapePressed();
    else
        QOpenGLWidget::keyPressEvent(event);
}

void MpvView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        emit keyReleased(event->key(), event->modifiers());
}
