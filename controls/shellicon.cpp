#include "controls/shellicon.h"

#include "common/plaintext.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace {

// The system tray through Qt; its activations come back to the control.
class SystemTray : public ShellIcon::Shell
{
public:
    explicit SystemTray(ShellIcon& control) : m_icon(&control)
    {
        QObject::connect(&m_icon, &QSystemTrayIcon::activated, &control, &ShellIcon::activate);
    }
    void add(const QIcon& icon, const QString& toolTip) override
    {
        modify(icon, toolTip);
        m_icon.show();
    }
    void modify(const QIcon& icon, const QString& toolTip) override
    {
        m_icon.setIcon(icon);
        // The tip carries the playing file's name.
        m_icon.setToolTip(plainToolTip(toolTip));
    }
    void remove() override { m_icon.hide(); }

private:
    QSystemTrayIcon m_icon;
};

} // namespace

ShellIcon::ShellIcon(QWidget& owner, std::unique_ptr<Shell> shell, bool userMode)
    : QObject(&owner), m_owner(owner),
      m_shell(shell ? std::move(shell) : std::make_unique<SystemTray>(*this)), m_userMode(userMode)
{
    setToolTipText(QString());
    m_tmrMenu.setObjectName(QStringLiteral("tmrMenu"));
    m_tmrMenu.setInterval(300);
    connect(&m_tmrMenu, &QTimer::timeout, this, [this] {
        m_tmrMenu.stop();
        emit SingleClick(1);
    });
}

ShellIcon::~ShellIcon()
{
    setVisible(false);
}

void ShellIcon::setToolTipText(const QString& text)
{
    m_fullText = text;
    m_tip = text.size() >= tipLength ? text.left(tipLength)
                                     : (text + QChar(0)).leftJustified(tipLength, QLatin1Char(' '));
    if (m_shown)
        m_shell->modify(m_icon, shownTip());
}

QString ShellIcon::shownTip() const
{
    return m_tip.section(QChar(0), 0, 0);
}

void ShellIcon::setIcon(const QIcon& icon)
{
    m_icon = icon;
    if (m_shown)
        m_shell->modify(m_icon, shownTip());
}

void ShellIcon::setVisible(bool visible)
{
    m_visible = visible;
    if (visible && !m_shown) {
        if (!m_userMode)
            return;
        m_shell->add(m_icon, shownTip());
        m_shown = true;
    } else if (!visible && m_shown) {
        m_shell->remove();
        m_shown = false;
    }
}

void ShellIcon::ShowSysMenu(QWidget* window)
{
    QWidget* target = window ? window : &m_owner;
    auto* menu = new QMenu(target);
    menu->setObjectName(QStringLiteral("sysMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const Qt::WindowStates state = target->windowState();
    const bool normal =
        !(state & (Qt::WindowMinimized | Qt::WindowMaximized)) && target->isVisible();
    menu->addAction(QStringLiteral("Restore"), target, &QWidget::showNormal)->setEnabled(!normal);
    menu->addAction(QStringLiteral("Minimize"), target, &QWidget::showMinimized)
        ->setEnabled(!(state & Qt::WindowMinimized));
    menu->addAction(QStringLiteral("Maximize"), target, &QWidget::showMaximized)
        ->setEnabled(!(state & Qt::WindowMaximized));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Close"), target, &QWidget::close);
    menu->popup(QCursor::pos());
}

void ShellIcon::notify(int message)
{
    switch (message) {
    case MouseMoveMessage:
        emit MouseMove();
        break;
    case LeftDown:
        emit MouseDown(1);
        break;
    case LeftUp:
        emit MouseUp(1);
        emit Click(1);
        // A second release within the timer's time was a double click: no single click.
        if (m_tmrMenu.isActive())
            m_tmrMenu.stop();
        else
            m_tmrMenu.start();
        break;
    case LeftDoubleClick:
        emit DblClick(1);
        break;
    case RightDown:
        emit MouseDown(2);
        break;
    case RightUp:
        if (m_sysMenu) {
            ShowSysMenu();
            break;
        }
        emit MouseUp(2);
        emit Click(2);
        break;
    case RightDoubleClick:
        emit DblClick(2);
        break;
    default:
        break;
    }
}

void ShellIcon::activate(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: {
        const bool second = m_lastTrigger.isValid() &&
                            m_lastTrigger.elapsed() <= QApplication::doubleClickInterval();
        if (second)
            m_lastTrigger.invalidate();
        else
            m_lastTrigger.start();
        notify(second ? LeftDoubleClick : LeftDown);
        notify(LeftUp);
        break;
    }
    case QSystemTrayIcon::DoubleClick:
        m_lastTrigger.invalidate();
        notify(LeftDoubleClick);
        notify(LeftUp);
        break;
    case QSystemTrayIcon::Context:
        notify(RightDown);
        notify(RightUp);
        break;
    default:
        break;
    }
}
