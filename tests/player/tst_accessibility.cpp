// The player as a screen reader reaches it: its own session bus, the accessibility bus that
// the desktop's launcher starts, its own X server, the program started as a user would with
// the Qt bridge on, and a pyatspi client (tests/player/atspi_walk.py) that walks the tree,
// presses Pause, Play and Playlist, and finally Close.
#include "ownxserver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Debian's own interpreter: python3-pyatspi installs for it, whatever python3 is first on PATH.
const QString systemPython = QStringLiteral("/usr/bin/python3");
const QString walker = QStringLiteral(ORVELLA_SOURCE_DIR "/tests/player/atspi_walk.py");

QString busLauncher()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("at-spi-bus-launcher"),
        {QStringLiteral("/usr/libexec"), QStringLiteral("/usr/lib/at-spi2-core")});
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_launcher;
    QProcess m_player;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    static void stop(QProcess& process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(systemPython), "python3-pyatspi needs Debian's python3");
        QVERIFY2(!busLauncher().isEmpty(), "at-spi-bus-launcher (at-spi2-core) is missing");
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForStarted());
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
        m_env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        // A runtime folder of its own: no other player's lock, no other accessibility bus.
        m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
        m_env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

        m_launcher.setProcessEnvironment(m_env);
        m_launcher.setProcessChannelMode(QProcess::ForwardedChannels);
        m_launcher.start(busLauncher(), {"--launch-immediately"});
        QVERIFY(m_launcher.waitForStarted());
        // The bridge asks the session bus where the accessibility bus is, once, as it starts.
        QDBusConnection session = QDBusConnection::connectToBus(address, "session");
        QVERIFY(session.isConnected());
        QTRY_VERIFY_WITH_TIMEOUT(
            session.interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus")), 10000);
        QDBusConnection::disconnectFromBus("session");

        m_player.setProcessEnvironment(m_env);
        m_player.setProcessChannelMode(QProcess::ForwardedChannels);
        m_player.start(ORVELLA_BINARY, {QStringLiteral(ORVELLA_MEDIA_DIR "/long.mpg")});
        QVERIFY(m_player.waitForStarted());
    }

    void readerFindsAndPressesTheControls()
    {
        QProcess reader;
        reader.setProcessEnvironment(m_env);
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(systemPython, {walker});
        QVERIFY(reader.waitForStarted());
        const bool finished = reader.waitForFinished(120000);
        const QString said = QString::fromUtf8(reader.readAll());
        for (const QString& line : said.split(u'\n', Qt::SkipEmptyParts))
            qInfo().noquote() << line;
        QVERIFY2(finished, "the reader did not finish");
        QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0,
                 qPrintable(said.trimmed().section(u'\n', -1)));

        // Its last press was Close: the player ends as the mouse would end it.
        QVERIFY(m_player.waitForFinished(15000));
        QCOMPARE(m_player.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_player.exitCode(), 0);
    }

    void cleanupTestCase()
    {
        if (m_player.state() != QProcess::NotRunning) {
            m_player.kill();
            m_player.waitForFinished(5000);
        }
        stop(m_launcher);
        stop(m_bus);
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestAccessibility, .windowManager = false)
#include "tst_accessibility.moc"
