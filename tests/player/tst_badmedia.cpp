// Broken files in the playlist with the real engine: each is played or refused, never a crash,
// and the good entry after it plays: by itself after a played one, after "next" after a
// refused one, which stops the list where it is. A hostile playlist reaches nothing but the
// local files it names.
#include "engine/mpv/mpvengine.h"
#include "engine/mpv/mpvview.h"
#include "player/formvideo.h"
#include "playlist/orvformat.h"
#include "playlist/playlistwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A listener on loopback that only counts who connected: a web server for a beacon, and the
// far end of a tcp:// entry.
class CountingListener
{
public:
    CountingListener() : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (m_fd < 0 || ::bind(m_fd, any, length) != 0 || ::listen(m_fd, 64) != 0 ||
            ::getsockname(m_fd, any, &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~CountingListener() { ::close(m_fd); }
    CountingListener(const CountingListener&) = delete;
    CountingListener& operator=(const CountingListener&) = delete;

    int port() const { return m_port; }
    // Connections made so far; the kernel completes them whether or not anyone accepts.
    int connections()
    {
        for (int fd; (fd = ::accept(m_fd, nullptr, nullptr)) >= 0; ++m_accepted)
            ::close(fd);
        return m_accepted;
    }

private:
    int m_fd;
    int m_port = 0;
    int m_accepted = 0;
};

// A UDP port nobody holds right now.
int freeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t length = sizeof address;
    auto* any = reinterpret_cast<sockaddr*>(&address);
    const bool bound = ::bind(fd, any, length) == 0 && ::getsockname(fd, any, &length) == 0;
    ::close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

// Whether any socket of this machine is bound to the UDP port.
bool udpPortBound(int port)
{
    const QByteArray local = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char* table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 1 && fields.at(1).endsWith(local))
                return true;
        }
    }
    return false;
}

// The inodes of this process's open sockets that are UDP or TCP ones, IPv4 or IPv6.
QStringList networkSockets()
{
    QSet<QByteArray> network;
    for (const char* table :
         {"/proc/net/udp", "/proc/net/udp6", "/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 9)
                network.insert(fields.at(9));
        }
    }
    QStringList found;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[64] = {};
        const QByteArray link = QFile::encodeName(fds.filePath(fd));
        if (::readlink(link.constData(), target, sizeof target - 1) <= 0)
            continue;
        const QByteArray text(target);
        if (text.startsWith("socket:[") && network.contains(text.sliced(8).chopped(1)))
            found << QString::fromLatin1(text);
    }
    return found;
}

// A session description: FFmpeg's sdp demuxer, chosen by these lines alone, would listen on
// port for a stream to play.
QByteArray sessionDescription(int port)
{
    return "v=0\r\no=- 0 0 IN IP4 127.0.0.1\r\ns=x\r\nc=IN IP4 0.0.0.0\r\nt=0 0\r\nm=video " +
           QByteArray::number(port) + " RTP/AVP 33\r\n";
}

} // namespace

class TestBadMedia : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    }

    // The player on the real engine, loaded, with a lock and data folder of its own.
    std::unique_ptr<FormVideo> player(const QString& name)
    {
        const QString base = m_dir.filePath(name);
        if (!QDir().mkpath(base))
            return nullptr;
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        auto window = std::make_unique<FormVideo>(
            std::make_unique<MpvEngine>(options),
            FormVideo::Environment{base + "/orvella.lock", base + "/data"});
        return window->load({}) ? std::move(window) : nullptr;
    }

    static QByteArray firstHalf(const char* name)
    {
        QFile file(clip(name));
        return file.open(QIODevice::ReadOnly) ? file.read(file.size() / 2) : QByteArray();
    }

private slots:
    void brokenEntryThenGoodOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plays");
        QTest::newRow("zero bytes") << "zero.avi" << QByteArray() << false;
        QTest::newRow("cut in half") << "half.mpg" << firstHalf("clip.mpg") << true;
        QTest::newRow("text as avi") << "text.avi" << QByteArray("Not a film.\r\n") << false;
    }

    void brokenEntryThenGoodOne()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        const QString bad = m_dir.filePath(name);
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        const std::unique_ptr<FormVideo> player = this->player(QTest::currentDataTag());
        QVERIFY(player);
        FormVideo& window = *player;
        MediaEngine& engine = window.MediaPlayer1();
        // What each open after the start-up picture came to: the file, or "" when refused.
        QStringList outcomes;
        connect(&engine, &MediaEngine::OpenStateChange, this, [&](int from, int to) {
            if (from == OpenStates::Opening)
                outcomes << (to == OpenStates::Open ? engine.FileName() : QString());
        });
        Playlist& playlist = window.playlistWindow().playlist();
        playlist.append({{bad, name}, {clip("clip.wmv"), "clip.wmv"}});
        playlist.Go();

        QTRY_VERIFY_WITH_TIMEOUT(!outcomes.isEmpty(), 10000);
        QCOMPARE(outcomes.first(), plays ? bad : QString());
        if (!plays) {
            QTest::qWait(500);
            QCOMPARE(playlist.CurrentIndex(), 1);
            QCOMPARE(outcomes.size(), 1);
            window.playlist().PlayNext();
        }
        QTRY_COMPARE_WITH_TIMEOUT(engine.FileName(), clip("clip.wmv"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 5000);
        QCOMPARE(playlist.CurrentIndex(), 2);
    }

    void hostilePlaylistReachesNothing()
    {
        CountingListener server;
        QVERIFY(server.port() > 0);
        const int udpPort = freeUdpPort();
        QVERIFY(udpPort > 0);
        const QByteArray web = "http://127.0.0.1:" + QByteArray::number(server.port());
        const QByteArray victimBytes = "export PATH=/usr/bin:/bin\n";
        const QString victim = write(QStringLiteral("victim"), victimBytes);
        const QString marker = m_dir.filePath(QStringLiteral("marker"));
        // Entries that reach out, then local "movies" that are lists pointing out, then a clip.
        const QStringList entries{
            "av://lavfi:sine=duration=1,ametadata=mode=add:key=x:value=$(touch " + marker +
                "),ametadata=mode=print:file=" + victim,
            web + "/beacon.avi",
            "edl://%" + QString::number(web.size() + 8) + '%' + web + "/edl.avi",
            "ffmpeg://" + web + "/ffmpeg.avi",
            "av://lavfi:amovie=" + QString(web).replace(u':', QStringLiteral("\\:")) + "/a.avi",
            "tcp://127.0.0.1:" + QString::number(server.port()),
            "udp://0.0.0.0:" + QString::number(udpPort),
            "av://x11grab:" + qEnvironmentVariable("DISPLAY"),
            "av://v4l2:/dev/video0",
            "fd://3",
            "fdclose://3",
            write("m3u.mpg", "#EXTM3U\n" + web + "/m3u.avi\n"),
            write("pls.avi", "[playlist]\nFile1=" + web + "/pls.avi\nNumberOfEntries=1\n"),
            write("edl.avi", "# mpv EDL v0\n" + web + "/edl-file.avi\n"),
            clip("clip.wmv"),
        };
        const QString list = write(QStringLiteral("hostile.orv"), OrvFormat::serialize(entries));
        QVERIFY(!list.isEmpty());

        const std::unique_ptr<FormVideo> player = this->player(QStringLiteral("hostile"));
        QVERIFY(player);
        FormVideo& window = *player;
        MediaEngine& engine = window.MediaPlayer1();
        PlaylistWindow& pls = window.playlistWindow();
        pls.PullFromORV(list);
        QCOMPARE(pls.playlist().count(), entries.size());
        pls.Go();
        // The start timer plays the first entry.
        QTRY_VERIFY_WITH_TIMEOUT(!pls.playlist().startupTimer().isActive(), 5000);

        // Stepped through with "next", as a user would; each entry gets time to do harm.
        for (qsizetype entry = 1; entry <= entries.size(); ++entry) {
            if (entry > 1)
                pls.playlist().PlayNext();
            QCOMPARE(pls.playlist().CurrentIndex(), entry);
            QTest::qWait(300);
            QVERIFY2(!udpPortBound(udpPort), qPrintable(entries.at(entry - 1)));
            if (entry < entries.size())
                QCOMPARE(engine.FileName(), QString());
        }
        QCOMPARE(engine.FileName(), clip("clip.wmv"));
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 5000);

        QFile written(victim);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), victimBytes);
        QVERIFY(!QFile::exists(marker));
        QCOMPARE(server.connections(), 0);
    }

    // A "movie", a subtitle file beside a film and a playlist entry that describe a network
    // stream open no socket, not even while mpv looks at them; the films play.
    void sessionDescriptionsOpenNoSocket()
    {
        const int port = freeUdpPort();
        QVERIFY(port > 0);
        const QByteArray sdp = sessionDescription(port);
        const QString movie = write(QStringLiteral("sdp.mpg"), sdp);
        const QString entry = write(QStringLiteral("entry.dat"), sdp);
        QVERIFY(QFile::link(clip("long.mpg"), m_dir.filePath(QStringLiteral("film.mpg"))));
        QVERIFY(!write(QStringLiteral("film.sub"), sdp).isEmpty());
        const QStringList entries{m_dir.filePath(QStringLiteral("film.mpg")), entry,
                                  clip("clip.wmv")};
        const QString list = write(QStringLiteral("sdp.orv"), OrvFormat::serialize(entries));

        const std::unique_ptr<FormVideo> player = this->player(QStringLiteral("sdp"));
        QVERIFY(player);
        FormVideo& window = *player;
        MediaEngine& engine = window.MediaPlayer1();
        PlaylistWindow& pls = window.playlistWindow();

        // Looked at all along, also while an open waits for mpv.
        QStringList opened;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&] {
            opened += networkSockets();
            if (udpPortBound(port))
                opened << QStringLiteral("port %1").arg(port);
        });
        look.start(20);

        // The one beside the film is not a subtitle mpv can read, and the user hears so.
        QTest::ignoreMessage(QtWarningMsg,
                             "Cannot show the subtitle file film.sub: not a subtitle file.");
        pls.playlist().playNow(movie);
        QTest::qWait(500);
        QCOMPARE(engine.FileName(), QString());
        pls.PullFromORV(list);
        for (const QString& path : entries) {
            pls.playlist().PlayNext();
            QTest::qWait(500);
            QVERIFY2(opened.isEmpty(), qPrintable(path + u' ' + opened.join(u' ')));
        }
        pls.playlist().PlayPrev();
        pls.playlist().PlayPrev();
        QTRY_COMPARE_WITH_TIMEOUT(engine.FileName(), entries.first(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 5000);
        QTest::qWait(500);
        QVERIFY2(opened.isEmpty(), qPrintable(opened.join(u' ')));
    }

    // A picture larger than any screen, zoomed to twice its size: the window follows the zoom,
    // the drawing stays within what a screen shows.
    void hugePictureZoomed()
    {
        // 14000 x 14000, one bit a pixel: some 30 KB as a file.
        QImage picture(14000, 14000, QImage::Format_Mono);
        picture.fill(0);
        for (int y = 0; y < picture.height(); y += 700)
            std::fill_n(picture.scanLine(y), picture.bytesPerLine(), 0xff);
        const QString path = m_dir.filePath(QStringLiteral("huge.png"));
        QVERIFY(picture.save(path));
        picture = QImage();

        const std::unique_ptr<FormVideo> player = this->player(QStringLiteral("huge"));
        QVERIFY(player);
        FormVideo& window = *player;
        MediaEngine& engine = window.MediaPlayer1();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.playlist().playNow(path);
        QTRY_COMPARE_WITH_TIMEOUT(engine.FileName(), path, 20000);

        window.findChild<QAction*>(QStringLiteral("mnu200"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(window.width() > 20000, 5000);
        auto* view = window.findChild<MpvView*>();
        QVERIFY(view);
        QTRY_VERIFY_WITH_TIMEOUT(view->width() > 20000, 5000);
        QTest::qWait(1000);
        const QSize screen = window.screen()->size() * window.screen()->devicePixelRatio();
        const QImage drawn = view->grabFramebuffer();
        QVERIFY(!drawn.isNull());
        QVERIFY2(drawn.width() <= screen.width() && drawn.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(drawn.width()).arg(drawn.height())));
    }
};

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    TestBadMedia test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_badmedia.moc"
