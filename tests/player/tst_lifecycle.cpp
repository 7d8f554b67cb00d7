// How long the real program lives, in a real tray (trayer under openbox on the test's own X
// server): with the main window hidden in the tray, closing another of its windows ends
// nothing; Exit, or SIGTERM, ends everything at once, whatever windows are open, and frees the
// lock.
#include "ownxserver.h"
#include "trayhost.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

// Media, into it, down to Media Options, and choose it.
const QStringList mediaOptions{"Down", "Down", "Right", "Down",  "Down",
                               "Down", "Down", "Down",  "Return"};

class TestLifecycle : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TrayHost> m_tray;
    std::unique_ptr<QProcess> m_player;
    QByteArray m_said;        // the player's standard error so far
    QStringList m_withWindow; // the player's windows with its main window shown

    std::unique_ptr<QProcess> start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_dir.filePath("run"));
        env.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
        env.insert("ORVELLA_TRACE", "1");
        // The exit-time leak scan is the sanitizer's time, not the player's.
        env.insert("ASAN_OPTIONS", "detect_leaks=0:halt_on_error=1");
        auto player = std::make_unique<QProcess>();
        player->setProcessEnvironment(env);
        player->setProcessChannelMode(QProcess::ForwardedOutputChannel);
        player->start(ORVELLA_BINARY, {ORVELLA_MEDIA_DIR "/long.mpg"});
        return player->waitForStarted(10000) ? std::move(player) : nullptr;
    }

    bool said(QProcess& player, const QByteArray& text)
    {
        m_said += player.readAllStandardError();
        return m_said.contains(text);
    }

    QStringList shownWindows() const
    {
        QByteArray out;
        ownX().run({"search", "--onlyvisible", "--pid", QString::number(m_player->processId())},
                   &out);
        return QString::fromLatin1(out).split('\n', Qt::SkipEmptyParts);
    }

    // The player's windows that came up since `before`, once there are any.
    QStringList newWindows(const QStringList& before) const
    {
        QStringList now;
        const bool came = QTest::qWaitFor([&] {
            now = shownWindows();
            now.removeIf([&](const QString& w) { return before.contains(w); });
            return !now.isEmpty();
        });
        return came ? now : QStringList();
    }

    bool anyShown(const QStringList& windows) const
    {
        const QStringList now = shownWindows();
        return std::any_of(windows.begin(), windows.end(),
                           [&](const QString& w) { return now.contains(w); });
    }

    // The tray's popup menu, walked with the keyboard as a user may.
    void chooseFromMenu(const QStringList& keys)
    {
        const QStringList before = shownWindows();
        m_tray->clickIcon(3);
        QVERIFY(!newWindows(before).isEmpty());
        QCOMPARE(ownX().run(QStringList{"key", "--delay", "60"} + keys), 0);
    }

    // Gives `window` the focus, then the keys.
    void keysTo(const QString& window, const QStringList& keys)
    {
        QCOMPARE(
            ownX().run(QStringList{"windowactivate", "--sync", window, "key", "--clearmodifiers"} +
                       keys),
            0);
    }

    // The player on a clip with its main window shown; hidden in the tray when asked.
    void startPlayer(bool hidden)
    {
        m_said.clear();
        m_player = start();
        QVERIFY(m_player);
        QTRY_VERIFY_WITH_TIMEOUT(said(*m_player, "FileName returned"), 20000);
        QCOMPARE(m_tray->waitForIcons(1).size(), 1);
        m_withWindow = shownWindows();
        if (!hidden)
            return;
        m_tray->clickIcon(1);
        QTRY_VERIFY(shownWindows().size() < m_withWindow.size());
    }

    // The player still answers: the tray brings its window back.
    void stillRunning()
    {
        QVERIFY2(m_tray->waitForIcons(1).size() == 1 && m_player->state() == QProcess::Running,
                 "the player has ended");
        m_tray->clickIcon(1);
        QTRY_VERIFY_WITH_TIMEOUT(
            shownWindows() == m_withWindow || m_player->state() == QProcess::NotRunning, 10000);
        QCOMPARE(m_player->state(), QProcess::Running);
    }

    void stop()
    {
        if (!m_player || m_player->state() == QProcess::NotRunning)
            return;
        m_player->terminate();
        if (!m_player->waitForFinished(10000)) {
            m_player->kill();
            m_player->waitForFinished(5000);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(m_dir.filePath("run")));
        QVERIFY(QFile::setPermissions(m_dir.filePath("run"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_tray = std::make_unique<TrayHost>(ownX().display());
        QVERIFY2(m_tray->ok(), qPrintable(m_tray->error()));
    }

    void closingTheAboutWindowEndsNothing()
    {
        startPlayer(true);
        if (QTest::currentTestFailed())
            return;
        const QStringList before = shownWindows();
        chooseFromMenu({"Down", "Down", "Down", "Down", "Return"}); // About
        const QStringList about = newWindows(before);
        QCOMPARE(about.size(), 1);
        keysTo(about.first(), {"a"});
        QTRY_VERIFY(!anyShown(about));
        stillRunning();
    }

    void cancellingMediaOptionsEndsNothing()
    {
        startPlayer(true);
        if (QTest::currentTestFailed())
            return;
        const QStringList before = shownWindows();
        chooseFromMenu(mediaOptions);
        const QStringList options = newWindows(before);
        QCOMPARE(options.size(), 1);
        keysTo(options.first(), {"Escape"});
        QTRY_VERIFY(!anyShown(options));
        stillRunning();
    }

    void fullScreenAndBackEndsNothing()
    {
        startPlayer(true);
        if (QTest::currentTestFailed())
            return;
        const QStringList before = shownWindows();
        QCOMPARE(ownX().run({"key", "alt+Return"}), 0);
        const QStringList fullScreen = newWindows(before);
        QVERIFY(!fullScreen.isEmpty());
        QCOMPARE(ownX().run({"key", "alt+Return"}), 0);
        QTRY_VERIFY(!anyShown(fullScreen));
        stillRunning();
    }

    // A burst of presses is still being answered when the quit comes: it ends cleanly, at once.
    void hotKeyBurstThenTerminate()
    {
        startPlayer(true);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(ownX().run({"key", "--delay", "0", "--repeat", "400", "alt+Return"}), 0);
        m_player->terminate();
        QVERIFY(m_player->waitForFinished(5000));
        QCOMPARE(m_player->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_player->exitCode(), 0);
    }

    void exitWhileMediaOptionsIsOpenEndsAtOnce()
    {
        startPlayer(false);
        if (QTest::currentTestFailed())
            return;
        const QStringList before = shownWindows();
        chooseFromMenu(mediaOptions);
        QCOMPARE(newWindows(before).size(), 1);
        chooseFromMenu({"Up", "Return"}); // Exit
        QVERIFY(m_player->waitForFinished(1000));
        QCOMPARE(m_player->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_player->exitCode(), 0);

        // The lock went with it: the next player starts as the first.
        startPlayer(false);
        QVERIFY(said(*m_player, "window shown"));
    }

    void terminatingUnloadsAsExitDoes()
    {
        startPlayer(true);
        if (QTest::currentTestFailed())
            return;
        m_player->terminate();
        QVERIFY(m_player->waitForFinished(1000));
        QCOMPARE(m_player->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_player->exitCode(), 0);
        // The trace ends with mpv's counts of the film's late frames, read before it stops.
        QVERIFY(said(*m_player, "frames decoder-frame-drop-count 0 frame-drop-count "));
    }

    void cleanup() { stop(); }

    void cleanupTestCase() { m_tray.reset(); }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestLifecycle)
#include "tst_lifecycle.moc"
