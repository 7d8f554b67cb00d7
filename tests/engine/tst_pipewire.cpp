// The engine on a PipeWire server of its own (with its session manager and its PulseAudio
// service) holding two null sinks: what plays is recorded from each sink's monitor, so a device
// chosen in the options dialog must carry the sound itself, and the sound must come back when
// the server restarts under a playing file. Without a server first: the user is told.
#include "engine/mpv/engineoptionsdialog.h"
#include "enginetest.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

using enginetest::kTimeoutMs;

namespace {
const QStringList kSinks{QStringLiteral("SpeakersA"), QStringLiteral("HeadphonesB")};

// Root mean square of signed 16-bit samples.
double rms(const QByteArray& raw)
{
    const std::span samples(reinterpret_cast<const qint16*>(raw.constData()),
                            std::size_t(raw.size()) / 2);
    double sum = 0;
    for (const qint16 s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}
} // namespace

class TestPipeWire : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void withoutServerSaysSo();
    void soundOnTheChosenDevice_data();
    void soundOnTheChosenDevice();
    void soundComesBackAfterRestart();

private:
    void startServer();
    void stopServer();
    bool run(const QString& program, const QStringList& args);
    // The level on each sink over a quarter of a second, recorded at once.
    std::vector<double> levels();
    // Waits for the tone on that sink alone.
    bool soundsOn(int sink);

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_server;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<MpvEngine> m_engine;
};

bool TestPipeWire::run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(kTimeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void TestPipeWire::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The server's sockets go in a runtime folder of the test's own; CI has no session bus,
    // and the session manager wants one.
    const QString runtime = m_dir.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkdir(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qunsetenv("PULSE_SERVER");
    qunsetenv("PIPEWIRE_REMOTE");
    const QString bus = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.toUtf8());
    m_bus = std::make_unique<QProcess>();
    m_bus->start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--address=") + bus});
    QVERIFY(m_bus->waitForStarted());

    // A 440 Hz tone long enough for every case.
    QVERIFY(run(QStringLiteral("ffmpeg"),
                {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                 QStringLiteral("lavfi"), QStringLiteral("-i"),
                 QStringLiteral("sine=frequency=440:duration=120"), QStringLiteral("-ar"),
                 QStringLiteral("22050"), m_dir.filePath(QStringLiteral("tone.wav"))}));
    m_engine = std::make_unique<MpvEngine>(MpvEngine::Options{.video = false});
}

void TestPipeWire::cleanupTestCase()
{
    m_engine.reset();
    stopServer();
    if (m_bus) {
        m_bus->terminate();
        m_bus->waitForFinished();
    }
}

void TestPipeWire::startServer()
{
    for (const char* program : {"pipewire", "wireplumber", "pipewire-pulse"}) {
        auto& process = m_server.emplace_back(std::make_unique<QProcess>());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QString::fromLatin1(program), {});
        QVERIFY2(process->waitForStarted(), program);
        // The session manager gives up at once on a server that does not answer yet, and
        // without it no stream reaches a sink.
        if (m_server.size() == 1)
            QTRY_VERIFY_WITH_TIMEOUT(
                run(QStringLiteral("pw-cli"), {QStringLiteral("info"), QStringLiteral("0")}),
                kTimeoutMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(run(QStringLiteral("pactl"), {QStringLiteral("info")}), kTimeoutMs);
    for (const auto& process : m_server)
        QCOMPARE(process->state(), QProcess::Running);
    for (const QString& sink : kSinks)
        QVERIFY(run(QStringLiteral("pactl"),
                    {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                     QStringLiteral("sink_name=") + sink,
                     QStringLiteral("sink_properties=device.description=") + sink}));
}

void TestPipeWire::stopServer()
{
    for (auto& process : m_server) {
        process->terminate();
        process->waitForFinished();
    }
    m_server.clear();
}

std::vector<double> TestPipeWire::levels()
{
    std::vector<std::unique_ptr<QProcess>> recorders;
    for (const QString& sink : kSinks) {
        auto& recorder = recorders.emplace_back(std::make_unique<QProcess>());
        recorder->start(QStringLiteral("parec"),
                        {QStringLiteral("--device=") + sink + QStringLiteral(".monitor"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                         QStringLiteral("--rate=8000"), QStringLiteral("--latency-msec=20"),
                         QStringLiteral("--raw")});
    }
    // A quarter of a second of 8000 samples of two bytes. A sink left idle is suspended and
    // its monitor gives nothing: silence.
    const auto recorded = [&] {
        return std::any_of(recorders.begin(), recorders.end(),
                           [](const auto& r) { return r->bytesAvailable() >= 4000; });
    };
    (void)QTest::qWaitFor(recorded, 1000);
    std::vector<double> result;
    for (auto& recorder : recorders) {
        result.push_back(rms(recorder->readAll()));
        recorder->kill();
        recorder->waitForFinished();
    }
    return result;
}

bool TestPipeWire::soundsOn(int sink)
{
    for (QDeadlineTimer deadline(kTimeoutMs); !deadline.hasExpired();) {
        const std::vector<double> level = levels();
        if (level.at(sink) > 300 && level.at(1 - sink) < 30)
            return true;
    }
    return false;
}

void TestPipeWire::withoutServerSaysSo()
{
    // No server: the tone plays silently, and the user hears why once.
    QTest::ignoreMessage(QtWarningMsg, "No sound device: playing without sound.");
    QVERIFY2(m_engine->setFileName(m_dir.filePath(QStringLiteral("tone.wav"))),
             qPrintable(m_engine->lastError()));
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("current-ao").toString(), QStringLiteral("null"),
                              kTimeoutMs);
    QCOMPARE(m_engine->PlayState(), PlayStates::Playing);
}

void TestPipeWire::soundOnTheChosenDevice_data()
{
    QTest::addColumn<int>("chosen");
    QTest::newRow("SpeakersA") << 0;
    QTest::newRow("HeadphonesB") << 1;
}

void TestPipeWire::soundOnTheChosenDevice()
{
    QFETCH(int, chosen);
    if (m_server.empty())
        startServer();
    // The server is back: so is the sound, on a real output.
    QTRY_VERIFY_WITH_TIMEOUT(m_engine->mpvValue("current-ao").toString() != u"null", kTimeoutMs);

    m_engine->ShowDialog(EngineDialogs::Options);
    auto* devices = m_engine->optionsDialog()->findChild<QComboBox*>(QStringLiteral("audioDevice"));
    // Each sink once, and nothing the output in use cannot reach.
    QTRY_COMPARE_WITH_TIMEOUT(devices->count(), 3, kTimeoutMs);
    const int item = devices->findText(kSinks.at(chosen));
    QVERIFY(item > 0);
    emit devices->activated(item);
    QVERIFY(soundsOn(chosen));
}

void TestPipeWire::soundComesBackAfterRestart()
{
    // The server restarts under the playing file, as after an update; the outage is told.
    QTest::ignoreMessage(QtWarningMsg, "No sound device: playing without sound.");
    stopServer();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("current-ao").toString(), QStringLiteral("null"),
                              kTimeoutMs);
    startServer();
    QVERIFY(soundsOn(1));
    QCOMPARE(m_engine->PlayState(), PlayStates::Playing);
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestPipeWire test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pipewire.moc"
