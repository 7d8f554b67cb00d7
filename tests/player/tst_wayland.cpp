// The player as a native Wayland client, under a headless weston the test starts itself:
// it plays a clip to its end, goes on to the next entry, and closes cleanly. None of the
// X11-only pieces (the hot-key grab, the tray) may stand in its way.
#include "engine/mpvengine.h"
#include "player/formvideo.h"
#include "playlist/formpls.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

// A headless compositor on a socket of its own, gone with the test.
class Weston
{
public:
    Weston() : m_socket(QStringLiteral("orvella-test-%1").arg(QCoreApplication::applicationPid()))
    {
        m_weston.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=headless-backend.so"),
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

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }

private slots:
    void playsOnAndClosesCleanly()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        FormVideo window(std::make_unique<MpvEngine>(options),
                         {m_dir.filePath("orvella.lock"), m_dir.filePath("data")});
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
};

int main(int argc, char* argv[])
{
    // The compositor comes before the application, which connects to it at once.
    const auto weston = std::make_unique<Weston>();
    if (!weston->ok()) {
        std::fprintf(stderr, "FAIL!  : TestWayland could not start weston\n");
        return 1;
    }
    MpvEngine::prepareApplication();
    int result = 0;
    {
        QApplication app(argc, argv);
        TestWayland test;
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}
#include "tst_wayland.moc"
