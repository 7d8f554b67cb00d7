// The libmpv engine without a display: mpv's null video and audio outputs play the committed
// clips, and the engine's members and events are checked against what the clips are.
#include "engine/mediagate.h"
#include "engine/volume.h"
#include "enginetest.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using enginetest::clip;
using enginetest::kTimeoutMs;

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMpvEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nothingOpenAtStart();
    void opensEveryClip_data();
    void opensEveryClip();
    void stillPictureStays();
    void videoThatNeverDecodesStillOpens();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void refusalClosesThePlayingFile();
    void laterPutDuringWait_data();
    void laterPutDuringWait();
    void haltKeepsPositionAndPlayResumes();
    void positionPutSeeks();
    void playsToEndAndRestarts();
    void volumeGain();
    void soundPlaysThroughWithSystemOutput();
    void failureAsSoonAsOpenIsARefusal();
    void subtitlesThenTheNextFileAtOnce();
    void oversizedSubtitleIsRefusedAndTheFilmPlays();

private:
    QString badFile(const QString& kind);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MpvEngine> m_engine;
};

void TestMpvEngine::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_engine = std::make_unique<MpvEngine>(
        MpvEngine::Options{.video = false, .audioOutput = QStringLiteral("null")});
    QCOMPARE(m_engine->lastError(), QString());
}

void TestMpvEngine::cleanup()
{
    m_engine.reset();
    m_dir.reset();
}

QString TestMpvEngine::badFile(const QString& kind)
{
    const QString path =
        m_dir->filePath(kind.contains(u'.') ? kind : kind + QStringLiteral(".avi"));
    if (kind == QLatin1String("missing"))
        return path;
    if (kind == QLatin1String("directory")) {
        QDir(m_dir->path()).mkdir(kind);
        return m_dir->filePath(kind);
    }
    // Nobody writes to it: an open would wait for ever.
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(path.toLocal8Bit().constData(), 0600) == 0 ? path : QString();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    if (kind == QLatin1String("random")) {
        QRandomGenerator generator(20240607);
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        file.write(bytes);
    }
    return path;
}

void TestMpvEngine::nothingOpenAtStart()
{
    MpvEngine& engine = *m_engine;
    QCOMPARE(engine.FileName(), QString());
    QCOMPARE(engine.Duration(), 0.0);
    QCOMPARE(engine.CurrentPosition(), 0.0);
    QCOMPARE(engine.PlayState(), PlayStates::Closed);
    QCOMPARE(engine.OpenState(), OpenStates::Closed);
    QCOMPARE(engine.view(), nullptr);
    QVERIFY(!engine.drawsPicture());
    // Nothing to play or halt: no event, no change.
    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);
    engine.Play();
    engine.Pause();
    engine.setCurrentPosition(1.0);
    QTest::qWait(200);
    QCOMPARE(playSpy.count(), 0);
    QCOMPARE(engine.CurrentPosition(), 0.0);
}

void TestMpvEngine::opensEveryClip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // The lengths and sizes make-clips.sh gives the clips.
    for (const char* name :
         {"clip.avi", "clip.divx", "clip.mpg", "clip.mpeg", "clip.dat", "clip.wmv", "clip.asf"})
        QTest::newRow(name) << QString::fromLatin1(name) << 2.0 << 160 << 120;
    QTest::newRow("sound.mp3") << QStringLiteral("sound.mp3") << 2.0 << 0 << 0;
    QTest::newRow("uhd.avi") << QStringLiteral("uhd.avi") << 0.5 << 3840 << 2160;
}

void TestMpvEngine::opensEveryClip()
{
    QFETCH(QString, name);
    QFETCH(double, length);
    QFETCH(int, width);
    QFETCH(int, height);
    MpvEngine& engine = *m_engine;
    QSignalSpy openSpy(&engine, &MediaEngine::OpenStateChange);
    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);

    const QString path = clip(name.toLatin1().constData());
    QVERIFY2(engine.setFileName(path), qPrintable(engine.lastError()));

    QCOMPARE(engine.FileName(), path);
    QVERIFY2(std::abs(engine.Duration() - length) <= 0.1,
             qPrintable(QString::number(engine.Duration())));
    QCOMPARE(engine.ImageSourceWidth(), width);
    QCOMPARE(engine.ImageSourceHeight(), height);
    QCOMPARE(engine.OpenState(), OpenStates::Open);
    QCOMPARE(openSpy.count(), 2);
    QCOMPARE(openSpy.at(0), (QVariantList{OpenStates::Closed, OpenStates::Opening}));
    QCOMPARE(openSpy.at(1), (QVariantList{OpenStates::Opening, OpenStates::Open}));
    QCOMPARE(engine.PlayState(), PlayStates::Playing);
    QCOMPARE(playSpy.count(), 1);
    QCOMPARE(playSpy.at(0), (QVariantList{PlayStates::Closed, PlayStates::Playing}));
    QTRY_VERIFY_WITH_TIMEOUT(engine.CurrentPosition() > 0, kTimeoutMs);
}

void TestMpvEngine::stillPictureStays()
{
    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(clip("still.jpg")), qPrintable(engine.lastError()));
    QCOMPARE(engine.ImageSourceWidth(), 320);
    QCOMPARE(engine.ImageSourceHeight(), 240);
    QCOMPARE(engine.Duration(), 0.0);
    QCOMPARE(engine.PlayState(), PlayStates::Playing);

    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);
    QTest::qWait(1500);
    QCOMPARE(playSpy.count(), 0);
    QCOMPARE(engine.FileName(), clip("still.jpg"));
    QCOMPARE(engine.CurrentPosition(), 0.0);

    // The player shows its start-up picture this way: open, then halt at once.
    engine.Pause();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Paused, kTimeoutMs);
    QCOMPARE(engine.ImageSourceWidth(), 320);
}

void TestMpvEngine::videoThatNeverDecodesStillOpens()
{
    // clip.avi with every picture's data zeroed: mpv sees the video track but the decoder
    // gives no picture, so the open settles on the size the file declares.
    QByteArray bytes = fileBytes(clip("clip.avi"));
    int zeroed = 0;
    for (qsizetype at = bytes.indexOf("00dc"); at >= 0; at = bytes.indexOf("00dc", at + 4)) {
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (at + 8 + qsizetype(size) > bytes.size())
            continue;
        std::fill_n(bytes.begin() + at + 8, size, '\0');
        ++zeroed;
    }
    QVERIFY(zeroed > 40);
    const QString path = m_dir->filePath(QStringLiteral("blank.avi"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(path), qPrintable(engine.lastError()));
    QCOMPARE(engine.ImageSourceWidth(), 160);
    QCOMPARE(engine.ImageSourceHeight(), 120);
    QVERIFY(std::abs(engine.Duration() - 2.0) <= 0.1);
    QCOMPARE(engine.PlayState(), PlayStates::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Stopped, kTimeoutMs);
}

void TestMpvEngine::refusesBadFiles_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind :
         {"missing", "empty", "empty.jpg", "random", "unreadable", "directory", "fifo"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestMpvEngine::refusesBadFiles()
{
    QFETCH(QString, kind);
    MpvEngine& engine = *m_engine;
    const QString path = badFile(kind);
    QVERIFY(!path.isEmpty());
    if (kind == QLatin1String("unreadable")) {
        QFile::setPermissions(path, QFileDevice::Permissions());
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not bind this user (root)");
    }
    QSignalSpy openSpy(&engine, &MediaEngine::OpenStateChange);

    QVERIFY(!engine.setFileName(path));
    QVERIFY(!engine.lastError().isEmpty());
    QCOMPARE(engine.FileName(), QString());
    QCOMPARE(engine.Duration(), 0.0);
    QCOMPARE(engine.CurrentPosition(), 0.0);
    QCOMPARE(engine.ImageSourceWidth(), 0);
    QCOMPARE(engine.ImageSourceHeight(), 0);
    QCOMPARE(engine.PlayState(), PlayStates::Closed);
    QCOMPARE(engine.OpenState(), OpenStates::Closed);
    // Refused by the gate, a file never starts opening; refused by mpv, it ends closed.
    QVERIFY(openSpy.isEmpty() || openSpy.last().at(1) == OpenStates::Closed);

    // The engine takes the next good file as if nothing had happened.
    QVERIFY2(engine.setFileName(clip("clip.avi")), qPrintable(engine.lastError()));
    QCOMPARE(engine.FileName(), clip("clip.avi"));
    QCOMPARE(engine.ImageSourceWidth(), 160);
    QCOMPARE(engine.PlayState(), PlayStates::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(engine.CurrentPosition() > 0, kTimeoutMs);
}

void TestMpvEngine::refusalClosesThePlayingFile()
{
    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(clip("clip.avi")), qPrintable(engine.lastError()));
    QTRY_VERIFY_WITH_TIMEOUT(engine.mpvValue("time-pos").isValid(), kTimeoutMs);
    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);

    QVERIFY(!engine.setFileName(badFile(QStringLiteral("missing"))));
    QVERIFY2(engine.lastError().contains(QLatin1String("no such file"), Qt::CaseInsensitive),
             qPrintable(engine.lastError()));
    QCOMPARE(engine.FileName(), QString());
    QCOMPARE(engine.Duration(), 0.0);
    QCOMPARE(engine.PlayState(), PlayStates::Closed);
    QCOMPARE(playSpy.count(), 1);
    QCOMPARE(playSpy.at(0), (QVariantList{PlayStates::Playing, PlayStates::Closed}));
    // mpv really let go of the earlier file.
    QTRY_VERIFY_WITH_TIMEOUT(!engine.mpvValue("time-pos").isValid(), kTimeoutMs);
}

void TestMpvEngine::laterPutDuringWait_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("laterPuts");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("length");
    QTest::newRow("good then good")
        << QStringLiteral("clip.avi") << QStringLiteral("uhd.avi") << 1 << true << 3840 << 0.5;
    QTest::newRow("good then refused")
        << QStringLiteral("clip.avi") << QStringLiteral("missing") << 1 << false << 0 << 0.0;
    // A flood of "next" from the desktop while the first open waits.
    QTest::newRow("ten thousand puts")
        << QStringLiteral("clip.avi") << QStringLiteral("uhd.avi") << 10000 << true << 3840 << 0.5;
}

void TestMpvEngine::laterPutDuringWait()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, laterPuts);
    QFETCH(bool, opens);
    QFETCH(int, width);
    QFETCH(double, length);
    const auto pathOf = [this](const QString& name) {
        return name == QLatin1String("missing") ? badFile(name) : clip(name.toLatin1().data());
    };
    MpvEngine& engine = *m_engine;

    // A timer firing inside the first put's wait, as the playlist's start timer or the bus may;
    // the puts before the last alternate between two clips.
    int putsDuringWait = 0;
    int putsAnswered = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, &engine, [&] {
        const int put = putsDuringWait + putsAnswered + 1;
        if (put > laterPuts)
            return timer.stop();
        const QString path =
            put == laterPuts ? pathOf(last) : clip(put % 2 ? "clip.mpg" : "clip.wmv");
        (engine.OpenState() == OpenStates::Opening ? putsDuringWait : putsAnswered) += 1;
        // It returns at once, with the outcome left to the waiting put.
        QVERIFY(!engine.setFileName(path));
        if (path != pathOf(last) || opens)
            QCOMPARE(engine.lastError(), QString());
    });
    timer.start(0);
    const bool firstResult = engine.setFileName(pathOf(first));

    QCOMPARE(putsDuringWait, laterPuts);
    QCOMPARE(putsAnswered, 0);
    // The earlier put reports what the engine ended up with: the last put's file.
    QCOMPARE(firstResult, opens);
    QCOMPARE(engine.FileName(), opens ? pathOf(last) : QString());
    QCOMPARE(engine.ImageSourceWidth(), width);
    QVERIFY(std::abs(engine.Duration() - length) <= 0.1);
    QCOMPARE(engine.OpenState(), opens ? OpenStates::Open : OpenStates::Closed);
    QCOMPARE(engine.PlayState(), opens ? PlayStates::Playing : PlayStates::Closed);

    // A put replaced while mpv was still opening the one before it never reached mpv.
    QVERIFY2(engine.loadsSent() <= 2 + std::uint64_t(laterPuts) / 10,
             qPrintable(QString::number(engine.loadsSent())));
    if (opens) {
        // mpv plays the last file to its end: its length, not an earlier file's.
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Stopped, kTimeoutMs);
        QCOMPARE(engine.CurrentPosition(), engine.Duration());
        QVERIFY(std::abs(engine.Duration() - length) <= 0.1);
    } else {
        // Nothing of the earlier file comes back later.
        QTest::qWait(1000);
        QCOMPARE(engine.PlayState(), PlayStates::Closed);
        QCOMPARE(engine.FileName(), QString());
        QVERIFY(!engine.mpvValue("time-pos").isValid());
    }
}

void TestMpvEngine::haltKeepsPositionAndPlayResumes()
{
    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(clip("clip.avi")), qPrintable(engine.lastError()));
    QTRY_VERIFY_WITH_TIMEOUT(engine.CurrentPosition() > 0.2, kTimeoutMs);
    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);

    engine.Pause();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Paused, kTimeoutMs);
    QCOMPARE(playSpy.at(0), (QVariantList{PlayStates::Playing, PlayStates::Paused}));
    QTest::qWait(200);
    const double held = engine.CurrentPosition();
    QVERIFY(held > 0.2 && held < engine.Duration());
    QTest::qWait(500);
    QCOMPARE(engine.CurrentPosition(), held);
    QCOMPARE(engine.PlayState(), PlayStates::Paused);

    engine.Play();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, kTimeoutMs);
    QCOMPARE(playSpy.last(), (QVariantList{PlayStates::Paused, PlayStates::Playing}));
    QVERIFY(engine.CurrentPosition() >= held);
    QTRY_VERIFY_WITH_TIMEOUT(engine.CurrentPosition() > held + 0.1, kTimeoutMs);
}

void TestMpvEngine::positionPutSeeks()
{
    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(clip("clip.avi")), qPrintable(engine.lastError()));
    engine.Pause();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Paused, kTimeoutMs);

    engine.setCurrentPosition(1.2);
    // The put is taken at once, and mpv goes there.
    QCOMPARE(engine.CurrentPosition(), 1.2);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(engine.mpvValue("time-pos").toDouble() - 1.2) < 0.05,
                             kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(engine.CurrentPosition() - 1.2) < 0.05, kTimeoutMs);
    QCOMPARE(engine.PlayState(), PlayStates::Paused);

    engine.Play();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, kTimeoutMs);
    QVERIFY(engine.CurrentPosition() >= 1.15);
    QTRY_VERIFY_WITH_TIMEOUT(engine.CurrentPosition() > 1.3, kTimeoutMs);

    // Back while playing.
    engine.setCurrentPosition(0.1);
    QTRY_VERIFY_WITH_TIMEOUT(engine.mpvValue("time-pos").toDouble() < 1.0, kTimeoutMs);
    QVERIFY(engine.CurrentPosition() < 1.0);
}

void TestMpvEngine::playsToEndAndRestarts()
{
    MpvEngine& engine = *m_engine;
    QSignalSpy playSpy(&engine, &MediaEngine::PlayStateChange);
    QVERIFY2(engine.setFileName(clip("clip.wmv")), qPrintable(engine.lastError()));

    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Stopped, kTimeoutMs);
    QCOMPARE(playSpy.last(), (QVariantList{PlayStates::Playing, PlayStates::Stopped}));
    QCOMPARE(engine.CurrentPosition(), engine.Duration());
    QVERIFY(engine.Duration() > 1.9);
    // The last picture stays: the file is still open.
    QCOMPARE(engine.FileName(), clip("clip.wmv"));
    QCOMPARE(engine.OpenState(), OpenStates::Open);
    QCOMPARE(engine.ImageSourceWidth(), 160);
    QTest::qWait(300);
    QCOMPARE(engine.PlayState(), PlayStates::Stopped);
    QCOMPARE(engine.CurrentPosition(), engine.Duration());

    engine.Play();
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, kTimeoutMs);
    QVERIFY(engine.CurrentPosition() < 1.0);
}

void TestMpvEngine::volumeGain()
{
    MpvEngine& engine = *m_engine;
    const auto applies = [&engine](int volume) {
        return std::abs(engine.mpvValue("volume").toDouble() - Volume::toMpv(volume)) < 1e-3;
    };
    // Start somewhere else, so that the put has to change what mpv applies.
    engine.setVolume(-2000);
    QTRY_VERIFY_WITH_TIMEOUT(applies(-2000), kTimeoutMs);

    // Above full is full.
    engine.setVolume(900);
    QCOMPARE(engine.Volume(), Volume::full);
    QTRY_VERIFY_WITH_TIMEOUT(applies(Volume::full), kTimeoutMs);
}

void TestMpvEngine::soundPlaysThroughWithSystemOutput()
{
    // The program's own audio set-up: the system's output, or a silent one on a machine
    // without sound, which must still keep time and reach the end.
    MpvEngine::Options options;
    options.video = false;
    m_engine = std::make_unique<MpvEngine>(options);
    MpvEngine& engine = *m_engine;
    QVERIFY2(engine.setFileName(clip("sound.mp3")), qPrintable(engine.lastError()));
    QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Stopped, kTimeoutMs);
    QCOMPARE(engine.CurrentPosition(), engine.Duration());
    QVERIFY(engine.Duration() > 1.9);
}

void TestMpvEngine::failureAsSoonAsOpenIsARefusal()
{
    // A sound file whose one output cannot open ends in an error once open: refused, and not
    // held as played to its end, which a list of one would open again and again.
    m_engine = std::make_unique<MpvEngine>(
        MpvEngine::Options{.video = false, .audioOutput = QStringLiteral("jack")});
    // The output may fail while the open still waits: the put returns false and its caller
    // tells the refusal. Once open, the engine tells it itself.
    if (m_engine->setFileName(clip("sound.mp3")))
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Cannot play sound.mp3: ")));
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->OpenState(), OpenStates::Closed, kTimeoutMs);
    QVERIFY(m_engine->lastError().startsWith(QStringLiteral("Cannot play sound.mp3: ")));
}

void TestMpvEngine::subtitlesThenTheNextFileAtOnce()
{
    // A subtitle file given as "next" is pressed: the two meet inside mpv at every distance in
    // time, the film with subtitle files of its own too. Each put must still open.
    const QString film = m_dir->filePath(QStringLiteral("film.avi"));
    const QString subtitle = m_dir->filePath(QStringLiteral("film.srt"));
    QVERIFY(QFile::link(clip("clip.avi"), film));
    QVERIFY(enginetest::writeSubtitle(subtitle, "x"));
    MpvEngine& engine = *m_engine;
    for (int i = 0; i < 40; ++i) {
        QVERIFY2(engine.setFileName(film), qPrintable(engine.lastError()));
        QCOMPARE(engine.addSubtitle(subtitle), QString());
        std::this_thread::sleep_for(std::chrono::microseconds(i * 100));
        QVERIFY2(engine.setFileName(clip("clip.mpg")), qPrintable(engine.lastError()));
    }
}

void TestMpvEngine::oversizedSubtitleIsRefusedAndTheFilmPlays()
{
    const QString film = m_dir->filePath(QStringLiteral("film.avi"));
    QVERIFY(QFile::link(clip("clip.avi"), film));
    QFile subtitle(m_dir->filePath(QStringLiteral("film.srt")));
    QVERIFY(subtitle.open(QIODevice::WriteOnly) &&
            subtitle.resize(MediaGate::MaxSubtitleBytes + 1));
    subtitle.close();
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral(
                             "^Subtitle file too large \\(over 4 MiB\\): .*film.srt$")));
    QVERIFY2(m_engine->setFileName(film), qPrintable(m_engine->lastError()));
    const QVariantList tracks = m_engine->mpvValue("track-list").toList();
    QVERIFY(std::none_of(tracks.begin(), tracks.end(), [](const QVariant& track) {
        return track.toMap().value(QStringLiteral("type")) == QStringLiteral("sub");
    }));
}

QTEST_GUILESS_MAIN(TestMpvEngine)
#include "tst_mpvengine.moc"
