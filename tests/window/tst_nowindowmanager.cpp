// The main window on an X server with no window manager, where the program alone moves the
// focus between its windows, driven by real pointer input: About chosen from the popup menu
// stays up.
#include "controls/frmsplash.h"
#include "fakeengine.h"
#include "ownxserver.h"
#include "player/formvideo.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>

class TestNoWindowManager : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QStringList at(QPoint p) { return {QString::number(p.x()), QString::number(p.y())}; }

    static void click(QPoint where, int button)
    {
        QCOMPARE(ownX().run(QStringList{"mousemove"} + at(where) +
                            QStringList{"click", QString::number(button)}),
                 0);
    }

    // The window that holds the X server's input focus.
    static WId focus()
    {
        QByteArray out;
        ownX().run({"getwindowfocus"}, &out);
        return out.trimmed().toULongLong();
    }

private slots:
    void aboutFromTheMenuStays()
    {
        const QString base = m_dir.filePath("run");
        QVERIFY(QDir().mkpath(base));
        FormVideo window(std::make_unique<FakeEngine>(),
                         FormVideo::Environment{base + "/orvella.lock", base + "/data"});
        QVERIFY(window.load({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The right click is the window's first: the focus it asks for comes as the menu closes.
        click(window.mapToGlobal(QPoint(window.width() / 2, 5)), 3);
        QMenu* menu = window.mnuFile();
        QTRY_VERIFY(menu->isVisible());
        const QRect about = menu->actionGeometry(window.findChild<QAction*>("mnuAbout"));
        click(menu->mapToGlobal(about.center()), 1);

        QTRY_VERIFY(window.splash() && window.splash()->isVisible());
        const QPointer<frmSplash> splash = window.splash();
        // Settled once the X server has given the focus to the about window and Qt has seen it.
        QTRY_VERIFY(splash.isNull() || (focus() == splash->winId() && splash->isActiveWindow()));
        QVERIFY(!splash.isNull());
        QCoreApplication::processEvents();
        QVERIFY(!splash.isNull());
        QVERIFY(!window.isActiveWindow());
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestNoWindowManager, .windowManager = false)
#include "tst_nowindowmanager.moc"
