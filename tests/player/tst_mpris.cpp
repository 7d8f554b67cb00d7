// The desktop's media controls against the real player: its own session bus (dbus-daemon),
// its own virtual X server, the program started as a user would, and playerctl as the client.
#include "ownxserver.h"
#include "player/mpris.h"
#include "playlist/orvformat.h"
#include "supportedmimetypes.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <sys/stat.h>

class TestMpris : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_player;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }

    QString playerctl(const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start("playerctl", QStringList{"-p", "orvella"} + args);
        if (!p.waitForFinished(10000))
            return QStringLiteral("(no answer)");
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    bool sendQuit()
    {
        QProcess send;
        send.setProcessEnvironment(m_env);
        send.start("dbus-send",
                   {"--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.orvella",
                    "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
        return send.waitForFinished(10000) && send.exitCode() == 0;
    }

    // Sets the player's Volume property as any bus client may, value as dbus-send reads it.
    bool setVolume(const QString& value)
    {
        QProcess send;
        send.setProcessEnvironment(m_env);
        send.start("dbus-send",
                   {"--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.orvella",
                    "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Set",
                    "string:org.mpris.MediaPlayer2.Player", "string:Volume",
                    "variant:double:" + value});
        return send.waitForFinished(10000) && send.exitCode() == 0;
    }

    // Sets or reads a number property of the player's interface, as dbus-send shows it.
    QString busDouble(const QString& name, const QString& setTo = {})
    {
        QProcess send;
        send.setProcessEnvironment(m_env);
        QStringList args{"--session",
                         "--print-reply",
                         "--dest=org.mpris.MediaPlayer2.orvella",
                         "/org/mpris/MediaPlayer2",
                         setTo.isEmpty() ? "org.freedesktop.DBus.Properties.Get"
                                         : "org.freedesktop.DBus.Properties.Set",
                         "string:org.mpris.MediaPlayer2.Player",
                         "string:" + name};
        if (!setTo.isEmpty())
            args << "variant:double:" + setTo;
        send.start("dbus-send", args);
        if (!send.waitForFinished(10000) || send.exitCode() != 0)
            return QStringLiteral("(no answer)");
        return QString::fromUtf8(send.readAllStandardOutput()).simplified().section(' ', -1);
    }

    // Calls a method of the player's interface; args as dbus-send reads them.
    bool call(const QString& method, const QStringList& args)
    {
        QProcess send;
        send.setProcessEnvironment(m_env);
        send.start("dbus-send",
                   QStringList{"--session", "--type=method_call",
                               "--dest=org.mpris.MediaPlayer2.orvella", "/org/mpris/MediaPlayer2",
                               "org.mpris.MediaPlayer2.Player." + method} +
                       args);
        return send.waitForFinished(10000) && send.exitCode() == 0;
    }

    double position() { return playerctl({"position"}).toDouble(); }
    // playerctl quotes an object path.
    QString trackId() { return playerctl({"metadata", "mpris:trackid"}).remove(u'\''); }

    // Whether the process holds the file open.
    static bool holdsOpen(qint64 pid, const QString& path)
    {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::System)) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == path)
                return true;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForStarted());
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(m_bus.readLine()).trimmed());
        // A runtime folder of its own: no other test's player holds the single-instance lock.
        m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
        // The start-up picture is no track: nothing plays.
        QProcess empty;
        empty.setProcessEnvironment(m_env);
        empty.start(ORVELLA_BINARY, QStringList{});
        QVERIFY(empty.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), QStringLiteral("Stopped"), 15000);
        QCOMPARE(playerctl({"metadata", "xesam:title"}), QString());
        QVERIFY(sendQuit());
        QVERIFY(empty.waitForFinished(15000));

        const QString list = m_dir.filePath("two.orv");
        QVERIFY(OrvFormat::save(list, {clip("clip.avi"), clip("clip.mpg")}).isEmpty());
        m_player.setProcessEnvironment(m_env);
        m_player.setProcessChannelMode(QProcess::ForwardedChannels);
        m_player.start(ORVELLA_BINARY, {list});
        QVERIFY(m_player.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), QStringLiteral("Playing"), 15000);
    }

    void controlsReachThePlayer()
    {
        const QString first = QUrl::fromLocalFile(clip("clip.avi")).toString();
        const QString second = QUrl::fromLocalFile(clip("clip.mpg")).toString();
        QCOMPARE(playerctl({"metadata", "xesam:url"}), first);
        QCOMPARE(playerctl({"metadata", "xesam:title"}), QStringLiteral("clip.avi"));
        QCOMPARE(playerctl({"play-pause"}), QString());
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Paused"));
        playerctl({"position", "1.5"});
        QTRY_VERIFY(qAbs(playerctl({"position"}).toDouble() - 1.5) < 0.1);
        playerctl({"play-pause"});
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Playing"));

        playerctl({"next"});
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), second, 10000);
        playerctl({"previous"});
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), first, 10000);

        // Full volume is 0 dB; a half is -18 dB, kept to a hundredth of a decibel.
        QCOMPARE(playerctl({"volume"}).toDouble(), 1.0);
        playerctl({"volume", "0.5"});
        QTRY_VERIFY(qAbs(playerctl({"volume"}).toDouble() - 0.5) < 1e-3);
    }

    void tracksByTheDesktopsRules()
    {
        // The playing track keeps its id; the next one has another, and a position sent for the
        // old one, or outside the track, moves nothing.
        const QString first = trackId();
        QVERIFY2(first.startsWith("/org/orvella/track/"), qPrintable(first));
        QCOMPARE(trackId(), first);
        playerctl({"next"});
        QTRY_VERIFY_WITH_TIMEOUT(trackId() != first, 10000);
        const QString second = trackId();
        QTRY_VERIFY_WITH_TIMEOUT(position() > 0.2, 10000);
        playerctl({"pause"});
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Paused"));
        QTest::qWait(200);
        const double settled = position();
        for (const auto& [track, at] : {std::pair{first, QString("1500000")},
                                        {second, QString("-1000000")},
                                        {second, QString("60000000")}}) {
            QVERIFY(call("SetPosition", {"objpath:" + track, "int64:" + at}));
            QTest::qWait(200);
            QVERIFY2(position() == settled, qPrintable(track + " " + at));
        }
        QVERIFY(call("SetPosition", {"objpath:" + second, "int64:1500000"}));
        QTRY_VERIFY(position() != settled);

        // Stop halts at the start and says so; play goes on.
        playerctl({"stop"});
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Stopped"));
        QVERIFY(position() < 0.1);
        playerctl({"play"});
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Playing"));

        // Open plays what it names at once.
        const QString wmv = QUrl::fromLocalFile(clip("clip.wmv")).toString();
        playerctl({"open", wmv});
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), wmv, 10000);
        QTRY_COMPARE(playerctl({"status"}), QStringLiteral("Playing"));
    }

    // Rate is the player's speed, within its limits.
    void rateIsTheSpeed()
    {
        QCOMPARE(busDouble("MinimumRate"), QStringLiteral("0.25"));
        QCOMPARE(busDouble("MaximumRate"), QStringLiteral("4"));
        busDouble("Rate", "2");
        QTRY_COMPARE(busDouble("Rate"), QStringLiteral("2"));
        busDouble("Rate", "10");
        QTRY_COMPARE(busDouble("Rate"), QStringLiteral("4"));
        busDouble("Rate", "1");
        QTRY_COMPARE(busDouble("Rate"), QStringLiteral("1"));
    }

    void volumeThatIsNoNumberChangesNothing_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("NaN") << "nan";
        QTest::newRow("infinity") << "inf";
        QTest::newRow("minus infinity") << "-inf";
    }
    void volumeThatIsNoNumberChangesNothing()
    {
        QFETCH(QString, value);
        const QString before = playerctl({"volume"});
        QVERIFY(setVolume(value));
        QCOMPARE(playerctl({"volume"}), before);
    }

    // The desktop finds the launcher by DesktopEntry, and the types are the launcher's own.
    void rootNamesTheLauncherAndItsTypes()
    {
        const QString connection = QStringLiteral("root");
        QDBusConnection bus =
            QDBusConnection::connectToBus(m_env.value("DBUS_SESSION_BUS_ADDRESS"), connection);
        QVERIFY(bus.isConnected());
        const auto property = [&bus](const char* name) {
            QDBusMessage get = QDBusMessage::createMethodCall(
                "org.mpris.MediaPlayer2.orvella", "/org/mpris/MediaPlayer2",
                "org.freedesktop.DBus.Properties", "Get");
            get << QStringLiteral("org.mpris.MediaPlayer2") << QString::fromLatin1(name);
            const QDBusMessage reply = bus.call(get, QDBus::Block, 10000);
            return reply.arguments().value(0).value<QDBusVariant>().variant();
        };
        const QString entry = property("DesktopEntry").toString();
        QVERIFY2(QFile::exists(QStringLiteral(ORVELLA_DIST_DIR "/") + entry + ".desktop"),
                 qPrintable(entry + " names no launcher"));
        QCOMPARE(property("SupportedMimeTypes").toStringList(), supportedMimeTypes());
        QDBusConnection::disconnectFromBus(connection);
    }

    void quitEndsThePlayer()
    {
        QVERIFY(sendQuit());
        QVERIFY(m_player.waitForFinished(15000));
        QCOMPARE(m_player.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_player.exitCode(), 0);
    }

    void floodOfNextOverPipesThenQuit()
    {
        // Two pipes nobody writes to, which once held the open (and each "next" nested a wait).
        QStringList pipes;
        for (const char* name : {"one.mpg", "two.mpg"}) {
            pipes << m_dir.filePath(name);
            QCOMPARE(::mkfifo(pipes.last().toLocal8Bit().constData(), 0600), 0);
        }
        const QString list = m_dir.filePath("pipes.orv");
        QVERIFY(OrvFormat::save(list, pipes).isEmpty());
        QProcessEnvironment env = m_env;
        // The exit-time leak scan is the sanitizer's time, not the player's.
        env.insert("ASAN_OPTIONS", "detect_leaks=0:halt_on_error=1");
        QProcess player;
        player.setProcessEnvironment(env);
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(ORVELLA_BINARY, {list});
        QVERIFY(player.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), QStringLiteral("Stopped"), 15000);

        QDBusConnection bus = QDBusConnection::connectToBus(m_env.value("DBUS_SESSION_BUS_ADDRESS"),
                                                            QStringLiteral("flood"));
        QVERIFY(bus.isConnected());
        for (int i = 0; i < 3000; ++i) {
            bus.send(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.orvella",
                                                    "/org/mpris/MediaPlayer2",
                                                    "org.mpris.MediaPlayer2.Player", "Next"));
        }
        // Every "next" was refused, the player lives and still answers.
        QCOMPARE(playerctl({"status"}), QStringLiteral("Stopped"));
        QVERIFY(player.state() == QProcess::Running);
        for (const QString& pipe : pipes)
            QVERIFY(!holdsOpen(player.processId(), pipe));

        // Timed from the player's answer to the quit.
        QVERIFY(sendQuit());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(player.waitForFinished(15000));
        const qint64 ms = clock.elapsed();
        qInfo("closed %lld ms after the quit", ms);
        QCOMPARE(player.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.exitCode(), 0);
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
        QDBusConnection::disconnectFromBus(QStringLiteral("flood"));
    }

    void cleanupTestCase()
    {
        if (m_player.state() != QProcess::NotRunning) {
            m_player.kill();
            m_player.waitForFinished(5000);
        }
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestMpris, .windowManager = false)
#include "tst_mpris.moc"
