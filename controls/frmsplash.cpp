#include "controls/frmsplash.h"

#include "common/twips.h"
#include "controls/face.h"
#include "controls/programicon.h"
#include "controls/screentwips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

frmSplash::frmSplash(const QString& title, const QString& version, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_hint(label(this, "Label1", QStringLiteral("Alt+Enter = FullScreen Toggle")))
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    Face::paint(*this, QColor(0x80, 0x80, 0x80), Qt::black);
    setFocusPolicy(Qt::StrongFocus);

    auto* image = label(this, "Image1", QString());
    image->setPixmap(programIcon().pixmap(32, 32));
    auto* product = label(this, "lblProductName", title);
    auto* versionLine = label(this, "lblVersion", version);

    const TwipsPerPixel tpp = twipsPerPixel(this);
    const auto place = [&](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(Twips::toPixels(QRect(left, top, width, height), tpp.x, tpp.y));
    };
    setFixedSize(Twips::toPixels(3810, tpp.x), Twips::toPixels(1245, tpp.y));
    place(image, 240, 300, 480, 480);
    place(product, 2220, 120, 1395, 195);
    place(versionLine, 2220, 360, 1275, 195);
    place(m_hint, 1020, 780, 2175, 255);
    m_hint->setFont(Face::smallFont());
    // Clicks on the labels close the window as clicks on it do; the hint's do not.
    for (QLabel* l : {image, product, versionLine, m_hint})
        l->installEventFilter(this);
}

QString frmSplash::versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

void frmSplash::paintEvent(QPaintEvent*)
{
    // Shape1: the frame around the whole window.
    QPainter p(this);
    p.setPen(Face::dark);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void frmSplash::mousePressEvent(QMouseEvent*)
{
    close();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty())
        close();
}

void frmSplash::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        close();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    if (watched != m_hint)
        close();
    return true;
}
