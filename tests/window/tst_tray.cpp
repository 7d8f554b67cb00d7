// The tray icon in a real tray (trayer, a legacy X11 tray, under openbox on the test's own X
// server), clicked as a user would: a click hides the main window and the next shows it, a
// right click opens the menu, minimise hides to the tray, the desktop's raise brings the window
// back from the tray or the taskbar, and quitting takes the icon away.
#include "fakeengine.h"
#include "ownxserver.h"
#include "player/formvideo.h"
#include "trayhost.h"
#include "window/windowshowing.h"

#include <QMenu>
#include <QTemporaryDir>

class TestTray : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TrayHost> m_tray;
    std::unique_ptr<FormVideo> m_window;

private slots:
    void initTestCase()
    {
        m_tray = std::make_unique<TrayHost>(ownX().display());
        QVERIFY2(m_tray->ok(), qPrintable(m_tray->error()));
        const QString base = m_dir.filePath("run");
        QDir().mkpath(base);
        m_window = std::make_unique<FormVideo>(
            std::make_unique<FakeEngine>(),
            FormVideo::Environment{base + "/orvella.lock", base + "/data"});
        QVERIFY(m_window->load({}));
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void clicksHideAndShowTheWindow()
    {
        QCOMPARE(m_tray->waitForIcons(1).size(), 1);
        m_tray->clickIcon(1);
        QTRY_VERIFY(!m_window->isVisible());
        m_tray->clickIcon(1);
        QTRY_VERIFY(m_window->isVisible());
    }

    void rightClickOpensTheMenu()
    {
        m_tray->clickIcon(3);
        QMenu* menu = m_window->findChild<QMenu*>("mnuFile");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void minimiseHidesToTheTray()
    {
        m_window->findChild<QAction*>("mnuMinimize")->trigger();
        QVERIFY(!m_window->isVisible());
        m_tray->clickIcon(1);
        QTRY_VERIFY(m_window->isVisible());
    }

    void raiseBringsTheWindowBack_data()
    {
        QTest::addColumn<bool>("toTray");
        QTest::newRow("hidden in the tray") << true;
        QTest::newRow("minimised") << false;
    }
    void raiseBringsTheWindowBack()
    {
        QFETCH(bool, toTray);
        if (toTray)
            m_window->findChild<QAction*>("mnuMinimize")->trigger();
        else
            m_window->showMinimized();
        QTRY_VERIFY(!m_window->isVisible() || m_window->isMinimized());
        m_window->findChild<WindowShowing*>()->bringBack();
        QTRY_VERIFY(m_window->isVisible() && !m_window->isMinimized());
    }

    void quittingTakesTheIconAway()
    {
        m_window->findChild<QAction*>("mnuExit")->trigger();
        m_window.reset();
        QVERIFY(m_tray->waitForIcons(0).isEmpty());
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_tray.reset();
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestTray)
#include "tst_tray.moc"
