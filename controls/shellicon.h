// The player's icon in the notification area: one icon with a tool tip, the tray's clicks
// turned into mouse events, a single click told from a double click, and the owning window's
// window commands at the cursor.
//
// The tray reports activations, not button messages; they become the mouse messages below.
//   Trigger      a left press on the legacy X11 tray, a left click on the D-Bus tray:
//                513 (left down), 514 (left up); but a Trigger that follows a lone Trigger
//                within the double-click interval is the D-Bus tray's double click, and
//                becomes 515 (left double click), 514
//   DoubleClick  the second press of a double click on the legacy tray: 515, 514
//   Context      a right click: 516 (right down), 517 (right up)
//   others       nothing
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class QWidget;

class ShellIcon : public QObject
{
    Q_OBJECT
public:
    // What the notification area does with the icon.
    class Shell
    {
    public:
        virtual ~Shell() = default;
        virtual void add(const QIcon& icon, const QString& toolTip) = 0;
        virtual void modify(const QIcon& icon, const QString& toolTip) = 0;
        virtual void remove() = 0;
    };

    // The mouse messages the tray's notifications carry.
    enum Message
    {
        MouseMoveMessage = 512,
        LeftDown = 513,
        LeftUp = 514,
        LeftDoubleClick = 515,
        RightDown = 516,
        RightUp = 517,
        RightDoubleClick = 518,
    };
    static constexpr int tipLength = 64;

    // owner is the window whose commands ShowSysMenu offers. Without a shell the system
    // tray carries the icon. Outside user mode (a designer, a test without a tray) the icon
    // is never added.
    explicit ShellIcon(QWidget& owner, std::unique_ptr<Shell> shell = nullptr,
                       bool userMode = true);
    // The icon leaves the notification area with the control.
    ~ShellIcon() override;

    // The record: the text, a NUL and spaces to 64 characters, or its first 64 characters.
    QString ToolTipText() const { return m_tip; }
    void setToolTipText(const QString& text);
    // The text as given, whole.
    QString fullToolTipText() const { return m_fullText; }
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    // The icon is in the notification area now.
    bool shown() const { return m_shown; }
    // A right release shows the window commands instead of raising events.
    bool SysMenu() const { return m_sysMenu; }
    void setSysMenu(bool sysMenu) { m_sysMenu = sysMenu; }

    // The owner's window commands (restore, minimise, maximise, close) at the cursor.
    void ShowSysMenu(QWidget* window = nullptr);

    // A notification for the icon, by mouse message number.
    void notify(int message);
    // An activation from the tray, as the table above turns it into notifications.
    void activate(QSystemTrayIcon::ActivationReason reason);

    QTimer& tmrMenu() { return m_tmrMenu; }

signals:
    void MouseMove();
    void MouseDown(int Button);
    void MouseUp(int Button);
    void DblClick(int Button);
    void Click(int Button);
    void SingleClick(int Button);

private:
    // The text the icon shows: the record up to its NUL.
    QString shownTip() const;

    QWidget& m_owner;
    std::unique_ptr<Shell> m_shell;
    bool m_userMode;
    QString m_fullText;
    QString m_tip;
    QIcon m_icon;
    bool m_visible = false;
    bool m_shown = false;
    bool m_sysMenu = true;
    QTimer m_tmrMenu;
    QElapsedTimer m_lastTrigger;
};
