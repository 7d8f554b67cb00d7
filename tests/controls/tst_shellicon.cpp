// The tray icon control: its tool-tip record, adding and removing the icon, and the mouse
// events each kind of tray's clicks give.
#include "controls/shellicon.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

struct RecordingShell : ShellIcon::Shell
{
    QStringList* calls;
    explicit RecordingShell(QStringList* c) : calls(c) {}
    void add(const QIcon&, const QString& tip) override { *calls << "add:" + tip; }
    void modify(const QIcon&, const QString& tip) override { *calls << "modify:" + tip; }
    void remove() override { *calls << "remove"; }
};

using Activations = QList<QSystemTrayIcon::ActivationReason>;

} // namespace

class TestShellIcon : public QObject
{
    Q_OBJECT

    QWidget m_owner;
    QStringList m_shell;
    QStringList m_events;

    std::unique_ptr<ShellIcon> icon(bool userMode = true)
    {
        m_shell.clear();
        m_events.clear();
        auto control = std::make_unique<ShellIcon>(
            m_owner, std::make_unique<RecordingShell>(&m_shell), userMode);
        const auto record = [this](const char* name) {
            return [this, name](int button) { m_events << name + QString::number(button); };
        };
        connect(control.get(), &ShellIcon::MouseDown, this, record("Down"));
        connect(control.get(), &ShellIcon::MouseUp, this, record("Up"));
        connect(control.get(), &ShellIcon::Click, this, record("Click"));
        connect(control.get(), &ShellIcon::DblClick, this, record("Dbl"));
        connect(control.get(), &ShellIcon::SingleClick, this, record("Single"));
        return control;
    }

private slots:
    void toolTipRecord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("shown");
        const QString sixtyFour(64, u'x');
        QTest::newRow("empty") << "" << QChar(0) + QString(63, u' ') << "";
        QTest::newRow("short") << "Orvella"
                               << QStringLiteral("Orvella") + QChar(0) + QString(56, u' ')
                               << "Orvella";
        QTest::newRow("64 exactly: no room for the end") << sixtyFour << sixtyFour << sixtyFour;
        QTest::newRow("longer: cut") << sixtyFour + "tail" << sixtyFour << sixtyFour;
    }
    void toolTipRecord()
    {
        QFETCH(QString, text);
        QFETCH(QString, record);
        QFETCH(QString, shown);
        auto control = icon();
        control->setVisible(true);
        control->setToolTipText(text);
        QCOMPARE(control->ToolTipText(), record);
        QCOMPARE(control->fullToolTipText(), text);
        QCOMPARE(m_shell.last(), "modify:" + shown);
    }

    void addedOnceRemovedAtTheEnd()
    {
        auto control = icon();
        control->setVisible(false);       // hidden already: nothing
        control->setToolTipText("first"); // only the record while hidden
        control->setVisible(true);
        control->setVisible(true);
        QCOMPARE(m_shell, QStringList{"add:first"});
        control.reset();
        QCOMPARE(m_shell, (QStringList{"add:first", "remove"}));

        auto designed = icon(false);
        designed->setVisible(true);
        QVERIFY(!designed->shown());
        QVERIFY(m_shell.isEmpty());
    }

    void clicks_data()
    {
        QTest::addColumn<Activations>("activations");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("timerRunning");
        const QStringList doubleClick{"Down1", "Up1", "Click1", "Dbl1", "Up1", "Click1"};
        QTest::newRow("double click, legacy tray")
            << Activations{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << doubleClick
            << false;
        QTest::newRow("double click, D-Bus tray")
            << Activations{QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger} << doubleClick
            << false;
        QTest::newRow("three clicks, legacy tray")
            << Activations{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                           QSystemTrayIcon::Trigger}
            << doubleClick + QStringList{"Down1", "Up1", "Click1"} << true;
        QTest::newRow("three clicks, D-Bus tray")
            << Activations{QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger,
                           QSystemTrayIcon::Trigger}
            << doubleClick + QStringList{"Down1", "Up1", "Click1"} << true;
        QTest::newRow("middle click")
            << Activations{QSystemTrayIcon::MiddleClick} << QStringList{} << false;
    }
    void clicks()
    {
        QFETCH(Activations, activations);
        QFETCH(QStringList, events);
        QFETCH(bool, timerRunning);
        auto control = icon();
        for (const auto reason : activations)
            control->activate(reason);
        QCOMPARE(m_events, events);
        QCOMPARE(control->tmrMenu().isActive(), timerRunning);
        if (timerRunning) // the single click follows when the timer runs out
            QTRY_COMPARE(m_events.last(), QStringLiteral("Single1"));
        else
            QTest::qWait(350);
        QCOMPARE(m_events.count("Single1"), timerRunning ? 1 : 0);
    }

    void rightClick()
    {
        auto control = icon();
        control->activate(QSystemTrayIcon::Context);
        // The window commands answer the release: no up or click event.
        QCOMPARE(m_events, QStringList{"Down2"});
        QMenu* menu = m_owner.findChild<QMenu*>("sysMenu");
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Restore"));
        menu->close();

        control->setSysMenu(false);
        m_events.clear();
        control->activate(QSystemTrayIcon::Context);
        QCOMPARE(m_events, (QStringList{"Down2", "Up2", "Click2"}));
    }
};

QTEST_MAIN(TestShellIcon)
#include "tst_shellicon.moc"
