// The screen stays awake while the real player shows a picture: its own X server with a screen
// saver of two seconds, its own session bus with a stand-in for the desktop's services, and
// the real dbus-monitor to see what the player asks of them.
#include "ownxserver.h"
#include "platform/desktopidle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace {

const QString screenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString requestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/1/orvella");
constexpr int saverSeconds = 2;

// Answers as the desktop would: a cookie for the screen-saver service's Inhibit, a request for
// the portal's; releases are taken without a word.
class StandIn : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QDBusMessage reply = message.createReply();
        if (message.member() == QLatin1String("Inhibit")) {
            reply << (message.interface() == screenSaver
                          ? QVariant::fromValue(42U)
                          : QVariant::fromValue(QDBusObjectPath(requestPath)));
        }
        connection.send(reply);
        return true;
    }
};

} // namespace

class TestScreenSaver : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_monitor;
    QString m_address;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();
    QThread m_standInThread;
    StandIn m_standIn;
    Display* m_display = nullptr;
    QString m_seen;

    // What the monitor saw so far, one "interface.member" for each call.
    QStringList calls()
    {
        m_seen += QString::fromUtf8(m_monitor.readAllStandardOutput());
        static const QRegularExpression call(
            QStringLiteral("^method call .* interface=([^;]+); member=(\\w+)$"),
            QRegularExpression::MultilineOption);
        QStringList found;
        for (const QRegularExpressionMatch& m : call.globalMatch(m_seen))
            found << m.captured(1) + u'.' + m.captured(2);
        return found;
    }
    qsizetype seen(const QString& call) { return calls().count(call); }

    int saverState() const
    {
        XScreenSaverInfo info{};
        XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), &info);
        return info.state;
    }

    bool mpris(const char* method)
    {
        QProcess send;
        send.setProcessEnvironment(m_env);
        send.start("dbus-send",
                   {"--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.orvella",
                    "/org/mpris/MediaPlayer2", QStringLiteral("org.mpris.MediaPlayer2") + method});
        return send.waitForFinished(10000) && send.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        m_env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
        m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
        // LeakSanitizer's exit-time tracer has crashed on the audio threads of a player started
        // with no sound card; this test is about the screen, and memory errors still halt it.
        m_env.insert("ASAN_OPTIONS", "detect_leaks=0:halt_on_error=1");

        // The stand-in answers on a thread of its own, so a call made here may wait for it.
        QDBusConnection desk = QDBusConnection::connectToBus(m_address, "desk");
        QVERIFY(
            desk.registerVirtualObject("/org/freedesktop", &m_standIn, QDBusConnection::SubPath));
        m_standIn.moveToThread(&m_standInThread);
        m_standInThread.start();
        QVERIFY(desk.registerService(screenSaver));

        m_monitor.start("dbus-monitor",
                        {"--address", m_address,
                         "type='method_call',interface='org.freedesktop.ScreenSaver'",
                         "type='method_call',interface='org.freedesktop.portal.Inhibit'",
                         "type='method_call',interface='org.freedesktop.portal.Request'"});
        // It has become a monitor once it gives up its own name.
        QTRY_VERIFY_WITH_TIMEOUT(
            (m_seen += QString::fromUtf8(m_monitor.readAllStandardOutput())).contains("NameLost"),
            10000);

        m_display = XOpenDisplay(ownX().display().toLocal8Bit().constData());
        QVERIFY(m_display);
        int eventBase = 0;
        int errorBase = 0;
        QVERIFY(XScreenSaverQueryExtension(m_display, &eventBase, &errorBase));
        XSetScreenSaver(m_display, saverSeconds, 0, DontPreferBlanking, AllowExposures);
        XSync(m_display, False);
    }

    void saverStaysOffWhileAPictureIsPlaying()
    {
        QProcess player;
        player.setProcessEnvironment(m_env);
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(ORVELLA_BINARY, {QStringLiteral(ORVELLA_MEDIA_DIR "/long.mpg")});
        QVERIFY(player.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(seen("org.freedesktop.ScreenSaver.Inhibit"), 1, 20000);

        // Woken now, the saver would come on two seconds later were it not held off.
        XResetScreenSaver(m_display);
        XSync(m_display, False);
        QElapsedTimer watch;
        watch.start();
        while (watch.elapsed() < 3 * saverSeconds * 1000) {
            QCOMPARE(saverState(), ScreenSaverOff);
            QTest::qWait(200);
        }
        QCOMPARE(seen("org.freedesktop.ScreenSaver.UnInhibit"), 0);

        QVERIFY(mpris(".Player.Pause"));
        QTRY_COMPARE_WITH_TIMEOUT(seen("org.freedesktop.ScreenSaver.UnInhibit"), 1, 10000);
        QVERIFY(m_seen.contains("member=UnInhibit\n   uint32 42"));
        QTRY_COMPARE_WITH_TIMEOUT(saverState(), ScreenSaverOn, 10000);

        // Played again, then ended: held again, and let go on the way out.
        QVERIFY(mpris(".Player.Play"));
        QTRY_COMPARE_WITH_TIMEOUT(seen("org.freedesktop.ScreenSaver.Inhibit"), 2, 10000);
        QVERIFY(mpris(".Quit"));
        QVERIFY(player.waitForFinished(15000));
        QCOMPARE(player.exitCode(), 0);
        QTRY_COMPARE(seen("org.freedesktop.ScreenSaver.UnInhibit"), 2);
    }

    void portalAnswersWhereNoScreenSaverServiceDoes()
    {
        QDBusConnection desk = QDBusConnection::connectToBus(m_address, "desk");
        QVERIFY(desk.unregisterService(screenSaver));
        QVERIFY(desk.registerService(portal));
        const qsizetype asked = seen("org.freedesktop.ScreenSaver.Inhibit");

        DesktopIdle idle(QDBusConnection::connectToBus(m_address, "player"));
        idle.setInhibited(true);
        QTRY_VERIFY(idle.holding());
        QCOMPARE(seen("org.freedesktop.ScreenSaver.Inhibit"), asked + 1);
        QCOMPARE(seen("org.freedesktop.portal.Inhibit.Inhibit"), 1);
        // The flag for idle.
        QVERIFY(m_seen.contains("member=Inhibit\n   string \"\"\n   uint32 8\n"));
        idle.setInhibited(false);
        QTRY_COMPARE(seen("org.freedesktop.portal.Request.Close"), 1);
        QVERIFY(
            m_seen.contains("path=" + requestPath + "; interface=org.freedesktop.portal.Request"));
    }

    void cleanupTestCase()
    {
        calls();
        for (const QString& line : m_seen.split(u'\n'))
            qInfo("monitor: %s", qPrintable(line));
        if (m_display)
            XCloseDisplay(m_display);
        m_monitor.terminate();
        m_monitor.waitForFinished(5000);
        QDBusConnection::disconnectFromBus("player");
        QDBusConnection::disconnectFromBus("desk");
        m_standInThread.quit();
        m_standInThread.wait();
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestScreenSaver, .windowManager = false)
#include "tst_screensaver.moc"
