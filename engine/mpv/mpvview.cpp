#include "engine/mpv/mpvview.h"

#include "engine/mpv/mpvrenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <functional>

namespace {
// Redraws on exposure and resizing; the renderer draws into it, and input passes through to
// the view below.
class PictureWindow : public QWindow
{
public:
    PictureWindow()
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFormat(MpvRenderer::surfaceFormat());
        setFlag(Qt::WindowTransparentForInput);
    }

    std::function<void()> redraw;

protected:
    void exposeEvent(QExposeEvent*) override
    {
        if (redraw && isExposed())
            redraw();
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (redraw && isExposed())
            redraw();
    }
};
} // namespace

MpvView::MpvView(QWidget* parent) : QWidget(parent), m_messageTimer(new QTimer(this))
{
    m_messageTimer->setSingleShot(true);
    connect(m_messageTimer, &QTimer::timeout, this, &MpvView::clearMessage);
    setObjectName(QStringLiteral("engineView"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MpvView::~MpvView()
{
    if (auto* picture = static_cast<PictureWindow*>(m_surface))
        picture->redraw = nullptr;
    if (m_renderer)
        m_renderer->setWindow(nullptr);
}

void MpvView::setRenderer(PictureRenderer* renderer)
{
    m_renderer = renderer;
    if (!renderer)
        return;
    if (!renderer->drawsIntoWindow()) {
        connect(renderer, &PictureRenderer::frameReady, this, qOverload<>(&MpvView::update));
        renderer->setTargetSize(pixelSize());
        return;
    }
    // Made only now: the first OpenGL window loads the driver, which would hold up the main
    // window's first appearance.
    if (!m_surface) {
        auto* picture = new PictureWindow;
        picture->redraw = [this] {
            if (m_renderer)
                m_renderer->redraw();
        };
        m_surface = picture;
        m_container = QWidget::createWindowContainer(picture, this);
        m_container->setObjectName(QStringLiteral("enginePicture"));
        // The view keeps the focus and the pointer; the picture only shows.
        m_container->setFocusPolicy(Qt::NoFocus);
        m_container->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_container->setGeometry(rect());
        m_container->show();
    }
    renderer->setWindow(m_surface);
    renderer->setTargetSize(pixelSize());
}

QImage MpvView::grabFramebuffer() const
{
    if (!m_renderer) {
        QImage black(pixelSize(), QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
    return m_renderer->grab();
}

QSize MpvView::pixelSize() const
{
    return size() * devicePixelRatioF();
}

void MpvView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_container)
        m_container->setGeometry(rect());
    emit pixelSizeChanged(pixelSize());
}

void MpvView::showMessage(const QString& text, int durationMs)
{
    m_message = text;
    // The picture's window would cover the text.
    if (m_container)
        m_container->hide();
    m_messageTimer->start(durationMs);
    update();
}

void MpvView::clearMessage()
{
    m_messageTimer->stop();
    if (m_message.isEmpty())
        return;
    m_message.clear();
    if (m_container)
        m_container->show();
    update();
}

void MpvView::paintEvent(QPaintEvent*)
{
    // Black until the picture's own window covers the view.
    QPainter painter(this);
    if (m_renderer && !m_renderer->drawsIntoWindow() && m_message.isEmpty())
        m_renderer->paint(painter, rect());
    else
        painter.fillRect(rect(), Qt::black);
    if (!m_message.isEmpty()) {
        // As mpv sets its own messages: top left, white, a size that follows the picture's.
        QFont font = painter.font();
        font.setPixelSize(std::clamp(height() / 18, 11, 36));
        painter.setFont(font);
        painter.setPen(Qt::white);
        const int margin = font.pixelSize() / 2;
        painter.drawText(rect().adjusted(margin, margin, -margin, -margin),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, m_message);
    }
    if (!m_shown) {
        m_shown = true;
        emit exposed();
    }
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
    QWidget::leaveEvent(event);
    emit mouseAction(MouseAction::Leave, Qt::NoButton, Qt::NoModifier, QPointF());
}

void MpvView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit escapePressed();
    else
        QWidget::keyPressEvent(event);
}

void MpvView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        emit keyReleased(event->key(), event->modifiers());
}
