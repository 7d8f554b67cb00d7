// The player as a native Wayland client, under a weston the test starts itself inside its X
// server: it plays a clip to its end, goes on to the next entry, and closes cleanly; maximised
// and minimised, it asks the compositor and stays within reach. None of the X11-only pieces
// (the hot-key grab, the tray) may stand in its way.
#include "engine/mpv/mpvengine.h"
#include "player/formvideo.h"
#include "playlist/playlistwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// The compositor's one output, as weston's window on the X server shows it at the origin.
const QSize output(1000, 700);

// weston in a window of the X server, on a socket of its own, gone with the test.
class Weston
{
public:
    Weston() : m_socket(QStringLiteral("orvella-test-%1").arg(QCoreApplication::applicationPid()))
    {
        m_weston.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                        QStringLiteral("--width=%1").arg(output.width()),
                        QStringLiteral("--height=%1").arg(output.height()),
                        QStringLiteral("--socket=") + m_socket, QStringLiteral("--idle-time=0")});
        const QString path = qEnvironmentVariable("XDG_RUNTIME_DIR") + '/' + m_socket;
        for (int i = 0; i < 100 && !QFile::exists(path); ++i)
            QThread::msleep(50);
        m_ok = QFile::exists(path);
        qputenv("WAYLAND_DISPLAY", m_socket.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "wayland");
    }
    ~Weston()
    {
        m_weston.terminate();
        m_weston.waitForFinished(3000);
    }
    bool ok() const { return m_ok; }

private:
    QString m_socket;
    QProcess m_weston;
    bool m_ok = false;
};

// The client's own protocol log (WAYLAND_DEBUG=client): standard error goes into a file, and
// its other lines go back to standard error at the end (after a crash, the file is left).
class ProtocolLog
{
public:
    ProtocolLog()
        : m_file(QDir::temp().filePath(QStringLiteral("tst_wayland-%1.log").arg(getpid())))
    {
        qputenv("WAYLAND_DEBUG", "client");
        m_stderr = ::dup(2);
        const int log = ::open(QFile::encodeName(m_file.fileName()).constData(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
        ::dup2(log, 2);
        ::close(log);
        m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~ProtocolLog()
    {
        ::dup2(m_stderr, 2);
        m_file.seek(0);
        static const QRegularExpression request(QStringLiteral("^\\[ *\\d+\\.\\d+\\] "));
        while (!m_file.atEnd()) {
            const QByteArray line = m_file.readLine();
            if (!request.match(QString::fromLatin1(line)).hasMatch())
                std::fputs(line.constData(), stderr);
        }
        m_file.remove();
    }
    // What was logged since the last call.
    QByteArray take() { return m_file.readAll(); }

private:
    QFile m_file;
    int m_stderr = -1;
};
ProtocolLog* protocolLog = nullptr;

// What the X server shows of the output.
QImage screenshot()
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(x,
                            xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, root, 0, 0, output.width(),
                                          output.height(), ~0u),
                            nullptr);
    QImage image;
    if (reply)
        image =
            QImage(xcb_get_image_data(reply), output.width(), output.height(), QImage::Format_RGB32)
                .copy();
    std::free(reply);
    xcb_disconnect(x);
    return image;
}

// Whether the output shows the part of the window a child of it covers.
bool onScreen(QWidget& window, const QWidget& child)
{
    const QImage part =
        window.grab(child.geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage screen = screenshot();
    const auto same = [&](int x, int y) {
        for (int row = 0; row < part.height(); ++row) {
            const auto* a = reinterpret_cast<const QRgb*>(part.constScanLine(row));
            const auto* b = reinterpret_cast<const QRgb*>(screen.constScanLine(y + row)) + x;
            for (int col = 0; col < part.width(); ++col)
                if ((a[col] ^ b[col]) & 0xffffff)
                    return false;
        }
        return true;
    };
    for (int y = 0; y + part.height() <= screen.height(); ++y)
        for (int x = 0; x + part.width() <= screen.width(); ++x)
            if (same(x, y))
                return true;
    return false;
}

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }
    static std::unique_ptr<MpvEngine> engine()
    {
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        return std::make_unique<MpvEngine>(options);
    }

private slots:
    void playsOnAndClosesCleanly()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        FormVideo window(engine(), {m_dir.filePath("orvella.lock"), m_dir.filePath("data")});
        MediaEngine& engine = window.MediaPlayer1();
        QVERIFY(window.load({}));
        QStringList played;
        connect(&engine, &MediaEngine::PlayStateChange, this, [&](int, int now) {
            if (now == PlayStates::Playing &&
                (played.isEmpty() || played.last() != engine.FileName()))
                played << engine.FileName();
        });
        Playlist& playlist = window.playlistWindow().playlist();
        playlist.append({{clip("clip.avi"), "clip.avi"}, {clip("clip.mpg"), "clip.mpg"}});
        playlist.Go();
        QTRY_VERIFY_WITH_TIMEOUT(played.size() >= 2, 30000);
        QCOMPARE(played.mid(0, 2), (QStringList{clip("clip.avi"), clip("clip.mpg")}));
        window.findChild<QAction*>("mnuExit")->trigger();
        QVERIFY(!window.isVisible());
    }

    void maximiseAsksTheCompositor_data()
    {
        QTest::addColumn<bool>("byGlyph");
        QTest::newRow("the glyph") << true;
        QTest::newRow("a double click on the top strip") << false;
    }
    void maximiseAsksTheCompositor()
    {
        QFETCH(bool, byGlyph);
        FormVideo window(engine(), {m_dir.filePath("orvella.lock"), m_dir.filePath("data")});
        QVERIFY(window.load({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* label3 = window.findChild<QLabel*>("Label3");
        const auto toggle = [&] {
            if (byGlyph)
                QTest::mouseClick(label3, Qt::LeftButton);
            else
                QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(window.width() / 2, 2));
        };
        const QSize normal = window.size();
        protocolLog->take();
        QByteArray log;
        toggle();
        QTRY_VERIFY((log += protocolLog->take()).contains(".set_maximized("));
        QTRY_VERIFY(window.isMaximized());
        QCOMPARE(label3->text(), QStringLiteral("2"));
        // Both right-hand glyphs within the output.
        QTRY_VERIFY(onScreen(window, *label3) &&
                    onScreen(window, *window.findChild<QLabel*>("Label2")));
        toggle();
        QTRY_VERIFY((log += protocolLog->take()).contains(".unset_maximized("));
        QTRY_COMPARE(window.size(), normal);
        QCOMPARE(label3->text(), QStringLiteral("1"));
    }

    // weston offers no tray, no taskbar and no activation.
    void minimisedWithNoWayBackStaysWithinReach()
    {
        FormVideo window(engine(), {m_dir.filePath("orvella.lock"), m_dir.filePath("data")});
        QVERIFY(window.load({}));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* label2 = window.findChild<QLabel*>("Label2");
        QTRY_VERIFY(onScreen(window, *label2));
        protocolLog->take();
        QTest::mouseClick(window.findChild<QLabel*>("Label4"), Qt::LeftButton);
        // The desktop's raise, answered once the player has taken it.
        QProcess raise;
        raise.start("dbus-send",
                    {"--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.orvella",
                     "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Raise"});
        QTRY_COMPARE(raise.state(), QProcess::NotRunning);
        QCOMPARE(raise.exitCode(), 0);
        QTRY_VERIFY(window.isActiveWindow() && onScreen(window, *label2));
        QVERIFY(!protocolLog->take().contains(".set_minimized("));
    }
};

int main(int argc, char* argv[])
{
    // The compositor and the bus come before the application, which connects to them at once.
    const auto weston = std::make_unique<Weston>();
    if (!weston->ok()) {
        std::fprintf(stderr, "FAIL!  : TestWayland could not start weston in the X server\n");
        return 1;
    }
    // A session bus of the test's own, with no tray on it.
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    if (bus.waitForReadyRead(10000))
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    ProtocolLog log;
    protocolLog = &log;
    MpvEngine::prepareApplication();
    int result = 0;
    {
        QApplication app(argc, argv);
        TestWayland test;
        result = QTest::qExec(&test, argc, argv);
    }
    bus.terminate();
    bus.waitForFinished(3000);
    return result;
}
#include "tst_wayland.moc"
