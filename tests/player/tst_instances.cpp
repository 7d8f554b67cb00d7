// The real program started as a user starts it: one instance at a time, the start-up
// picture unpacked in the user's cache, a quoted path with a blank played.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>

namespace {

// Windows of a process, as the X server knows them.
QStringList windowsOf(qint64 pid, bool visibleOnly)
{
    QProcess xdotool;
    QStringList args{"search"};
    if (visibleOnly)
        args << "--onlyvisible";
    args << "--pid" << QString::number(pid);
    xdotool.start("xdotool", args);
    xdotool.waitForFinished(5000);
    return QString::fromLatin1(xdotool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

bool pressReturnIn(const QString& windowId)
{
    return QProcess::execute("xdotool", {"windowfocus", "--sync", windowId, "key",
                                         "--clearmodifiers", "Return"}) == 0;
}

// Whether the process holds the file open (the engine keeps a playing file open).
bool holdsOpen(qint64 pid, const QString& path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == path)
            return true;
    }
    return false;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The class half of a window's WM_CLASS, as xprop shows it: WM_CLASS(STRING) = "name", "Class".
QString windowClassOf(const QString& windowId)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", windowId, "WM_CLASS"});
    xprop.waitForFinished(5000);
    const QStringList parts = QString::fromLatin1(xprop.readAllStandardOutput()).split('"');
    return parts.size() >= 5 ? parts.at(3) : QString();
}

// The launcher's StartupWMClass=, by which a desktop ties the window to the launcher.
QString launcherWindowClass()
{
    const QString key = QStringLiteral("StartupWMClass=");
    for (const QByteArray& line :
         readAll(ORVELLA_DIST_DIR "/org.orvella.orvella.desktop").split('\n')) {
        if (line.startsWith(key.toLatin1()))
            return QString::fromUtf8(line.mid(key.size()));
    }
    return {};
}

} // namespace

class TestInstances : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_program;
    QProcessEnvironment m_env;

    // traced: the start-up trace is kept in the process's standard error.
    std::unique_ptr<QProcess> start(const QStringList& args, bool traced = false,
                                    QProcessEnvironment env = {})
    {
        auto p = std::make_unique<QProcess>();
        if (env.isEmpty())
            env = m_env;
        if (traced)
            env.insert("ORVELLA_TRACE", "1");
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(traced ? QProcess::ForwardedOutputChannel
                                        : QProcess::ForwardedChannels);
        p->start(m_program, args);
        if (!p->waitForStarted(10000))
            return nullptr;
        return p;
    }

    static void stop(QProcess& p)
    {
        if (p.state() == QProcess::NotRunning)
            return;
        p.terminate();
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished(5000);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A copy of the program in a folder it could write, as a per-user install has it.
        QDir().mkpath(m_dir.filePath("prog"));
        m_program = m_dir.filePath("prog/orvella");
        QVERIFY(QFile::copy(ORVELLA_BINARY, m_program));
        QVERIFY(QFile::setPermissions(m_program,
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner));
        QDir().mkpath(m_dir.filePath("run"));
        QFile::setPermissions(m_dir.filePath("run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("XDG_RUNTIME_DIR", m_dir.filePath("run"));
        m_env.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
        // The sanitizers' exit reports are not what this test looks at.
        m_env.insert("ASAN_OPTIONS", "detect_leaks=0");
    }

    void hardwareDecoderProbeSaysNothing()
    {
        // An H.264 film has mpv look for a hardware decoder; standard error is the user's, and
        // a machine without one has nothing to tell.
        const QString film = m_dir.filePath("h264.mp4");
        QCOMPARE(QProcess::execute("ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i",
                                              "testsrc=size=160x120:duration=1", "-c:v", "libx264",
                                              "-pix_fmt", "yuv420p", film}),
                 0);
        auto player = start({film}, true);
        QVERIFY(player);
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(
            (said += player->readAllStandardError()).contains("FileName returned"), 20000);
        stop(*player);
        said += player->readAllStandardError();
        QVERIFY2(!said.contains("VDPAU"), said);
    }

    void onlyOneInstanceAndTheStartupPicture()
    {
        const QString picture = m_dir.filePath("cache/orvella/default.jpg");
        const QByteArray resource = readAll(ORVELLA_SOURCE_DIR "/resources/default.jpg");
        QVERIFY(!resource.isEmpty());

        auto first = start({});
        QVERIFY(first);
        QTRY_VERIFY_WITH_TIMEOUT(!windowsOf(first->processId(), true).isEmpty(), 20000);
        QCOMPARE(windowClassOf(windowsOf(first->processId(), true).first()), launcherWindowClass());
        QCOMPARE(readAll(picture), resource);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("prog/default.jpg")));
        const QDateTime written = QFileInfo(picture).lastModified();

        auto second = start({"/nowhere/ignored.avi"}, true);
        QVERIFY(second);
        // The second instance shows its message and waits for OK.
        QTRY_VERIFY_WITH_TIMEOUT(!windowsOf(second->processId(), true).isEmpty(), 20000);
        QVERIFY(second->state() == QProcess::Running);
        const QStringList boxes = windowsOf(second->processId(), true);
        QVERIFY(pressReturnIn(boxes.first()));
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        // It refused before making an engine.
        const QByteArray trace = second->readAllStandardError();
        QVERIFY2(trace.contains("application made") && !trace.contains("engine ready"), trace);

        QVERIFY(first->state() == QProcess::Running);
        QCOMPARE(QFileInfo(picture).lastModified(), written);

        // A crash leaves the lock behind; the next start is not stopped by it.
        ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
        QVERIFY(first->waitForFinished(10000));
        auto third = start({});
        QVERIFY(third);
        QTRY_VERIFY_WITH_TIMEOUT(!windowsOf(third->processId(), true).isEmpty(), 20000);
        // Its one window is the player, not the refusal.
        QTest::qWait(500);
        QVERIFY(third->state() == QProcess::Running);
        QCOMPARE(readAll(picture), resource);
        stop(*third);
    }

    void quotedPathWithABlankPlays()
    {
        const QString clip = m_dir.filePath("my clip.avi");
        QVERIFY(QFile::copy(ORVELLA_MEDIA_DIR "/clip.avi", clip));
        auto player = start({'"' + clip + '"'});
        QVERIFY(player);
        QTRY_VERIFY_WITH_TIMEOUT(holdsOpen(player->processId(), clip), 20000);
        stop(*player);
    }

    void startsWithoutALockWhenNoFolderIsPrivate()
    {
        // No runtime folder, and the player's cache folder is open to everyone.
        QVERIFY(QDir().mkpath(m_dir.filePath("shared/orvella")));
        QCOMPARE(::chmod(QFile::encodeName(m_dir.filePath("shared/orvella")).constData(), 0777), 0);
        QProcessEnvironment env = m_env;
        env.remove("XDG_RUNTIME_DIR");
        env.insert("XDG_CACHE_HOME", m_dir.filePath("shared"));
        auto player = start({ORVELLA_MEDIA_DIR "/clip.avi"}, true, env);
        QVERIFY(player);
        QTRY_VERIFY_WITH_TIMEOUT(holdsOpen(player->processId(), ORVELLA_MEDIA_DIR "/clip.avi"),
                                 20000);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("shared/orvella/orvella.lock")));
        stop(*player);
        const QByteArray said = player->readAllStandardError();
        QVERIFY2(said.contains("Orvella: no private folder for the single-instance lock (" +
                               QFile::encodeName(m_dir.filePath("shared/orvella")) +
                               ": open to other users); starting without one.\n"),
                 said);
    }
};

QTEST_GUILESS_MAIN(TestInstances)
#include "tst_instances.moc"
