// The main window with a scripted engine: start-up, the road of a file through the
// playlist, the replies to the engine's events and the single-instance guard.
#include "controls/frmsplash.h"
#include "controls/screentwips.h"
#include "controls/shellicon.h"
#include "fakeengine.h"
#include "player/formvideo.h"
#include "player/playbackcontroller.h"
#include "player/startup.h"
#include "playlist/orvformat.h"
#include "playlist/playlistwindow.h"
#include "whenshown.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

class TestFormVideo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    FormVideo::Environment env()
    {
        const QString base = m_dir.filePath(QString::number(++m_serial));
        QDir().mkpath(base);
        return {base + "/orvella.lock", base + "/data"};
    }

    struct Rig
    {
        FakeEngine* engine;
        std::unique_ptr<FormVideo> window;
        Rig(FormVideo::Environment e)
        {
            auto fake = std::make_unique<FakeEngine>();
            engine = fake.get();
            window = std::make_unique<FormVideo>(std::move(fake), e);
        }
        Playlist& playlist() { return window->playlistWindow().playlist(); }
    };

private slots:
    void initTestCase()
    {
        // The default environment's folders are ours, not the user's.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath("cache")));
    }

    void startsWithAFileThroughThePlaylist()
    {
        Rig rig(env());
        rig.engine->addMedia("/m/my film.avi", {2.0, 320, 240});
        QVERIFY(rig.window->load({"\"/m/my", "film.avi\""}));
        QCOMPARE(rig.window->MPath, QStringLiteral("/m/my film.avi"));
        QCOMPARE(rig.playlist().count(), 1);
        QCOMPARE(rig.playlist().entry(1).displayName, QStringLiteral("my film.avi"));
        QVERIFY(rig.engine->opened.isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(rig.engine->opened, QStringList{"/m/my film.avi"}, 5000);
        const QRect r = rig.engine->rect();
        QCOMPARE(
            rig.engine->toolTip(),
            QStringLiteral("Orvella: my film.avi %1x%2").arg(r.width() - 8).arg(r.height() - 54));
        QCOMPARE(rig.window->findChild<QLabel*>("lblPlay")->text(), QStringLiteral("g"));
        QCOMPARE(rig.window->findChild<QLabel*>("lblPlay")->toolTip(), QStringLiteral("Pause"));
        QVERIFY(rig.window->findChild<QTimer*>("Timerscroll")->isActive());
        QCOMPARE(rig.window->VideoWidth, qRound(320 * twipsPerPixel(rig.window.get()).x));
    }

    void startsWithAPlaylistFile()
    {
        const QString list = m_dir.filePath("start.orv");
        QVERIFY(OrvFormat::save(list, {"/m/1.avi", "/m/2.avi"}).isEmpty());
        Rig rig(env());
        QVERIFY(rig.window->load({list}));
        QCOMPARE(rig.playlist().count(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine->opened, QStringList{"/m/1.avi"}, 5000);

        // Upper case is not a playlist: it becomes one media entry.
        Rig other(env());
        QVERIFY(other.window->load({"/m/LIST.ORV"}));
        QCOMPARE(other.playlist().paths(), QStringList{"/m/LIST.ORV"});
    }

    void startsWithSeveralFilesAndFoldersInOrder()
    {
        const QDir here(m_dir.filePath("several"));
        QVERIFY(here.mkpath("dir"));
        const QStringList files{here.filePath("b.mkv"), here.filePath("a.mp4"),
                                here.filePath("dir/c.avi"), here.filePath("dir/d.mpg")};
        for (const QString& file : files)
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        Rig rig(env());
        QVERIFY(rig.window->load({files[0], files[1], here.filePath("dir")}));
        // The folder as "+DIR" scans it: .mpg before .avi.
        QCOMPARE(rig.playlist().paths(), (QStringList{files[0], files[1], files[3], files[2]}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine->opened, QStringList{files[0]}, 5000);
    }

    void refusedEntriesStopPlaybackInsteadOfRacing()
    {
        Rig rig(env());
        rig.engine->setStrict(true);
        QVERIFY(rig.window->load({}));
        rig.engine->opened.clear();
        for (const char* p : {"/m/bad1.avi", "/m/bad2.avi", "/m/bad3.avi"})
            rig.playlist().append(p, p);
        rig.playlist().Go();
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine->opened.size(), 1, 5000);
        // Give a runaway chain of refusals every chance to show itself.
        QTest::qWait(300);
        QCOMPARE(rig.engine->opened, QStringList{"/m/bad1.avi"});
        QCOMPARE(rig.window->findChild<QLabel*>("lblPlay")->text(), QStringLiteral("8"));
        // The user is told why, on the picture.
        QVERIFY(rig.engine->calls.contains(QStringLiteral("showMessage:refused: /m/bad1.avi")));
    }

    void playlistThatIsAPipeIsRefusedAtOnce()
    {
        const QString pipe = m_dir.filePath("pipe.orv");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        Rig rig(env());
        QVERIFY(rig.window->load({pipe}));
        QCOMPARE(rig.playlist().count(), 0);
        const QStringList told = rig.engine->calls.filter(QStringLiteral("showMessage:"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(pipe), qPrintable(told.first()));
    }

    void buttonsActOnlyWithSeveralEntries()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({"/m/only.avi"}));
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine->opened.size(), 1, 5000);
        QTest::mouseClick(rig.window->findChild<QLabel*>("lblNext"), Qt::LeftButton);
        QTest::mouseClick(rig.window->findChild<QLabel*>("lblPrev"), Qt::LeftButton);
        QCOMPARE(rig.engine->opened.size(), 1);
        // The menu items step without asking.
        rig.window->findChild<QAction*>("mnuNext")->trigger();
        QCOMPARE(rig.engine->opened.size(), 2);

        rig.playlist().append("/m/two.avi", "two.avi");
        rig.engine->emitPlayState(PlayStates::Playing); // refreshes the count
        QTest::mouseClick(rig.window->findChild<QLabel*>("lblNext"), Qt::LeftButton);
        QCOMPARE(rig.engine->FileName(), QStringLiteral("/m/two.avi"));
        QTest::mouseClick(rig.window->findChild<QLabel*>("lblPrev"), Qt::LeftButton);
        QCOMPARE(rig.engine->FileName(), QStringLiteral("/m/only.avi"));
    }

    void playButtonHaltsAndResumes()
    {
        Rig rig(env());
        rig.engine->setStrict(true); // the start-up picture is refused: nothing open
        rig.engine->addMedia("/m/a.avi", {});
        QVERIFY(rig.window->load({}));
        rig.engine->calls.clear();
        rig.window->playback().togglePlay();
        QVERIFY(rig.engine->calls.isEmpty());

        QVERIFY(rig.window->playback().openEntry("/m/a.avi"));
        rig.engine->calls.clear();
        rig.window->playback().togglePlay();
        QCOMPARE(rig.window->findChild<QLabel*>("lblPlay")->text(), QStringLiteral("8"));
        QVERIFY(!rig.window->findChild<QTimer*>("Timerscroll")->isActive());
        rig.window->playback().togglePlay();
        QCOMPARE(rig.engine->calls, (QStringList{"Pause", "Play"}));
        QCOMPARE(rig.window->findChild<QLabel*>("lblPlay")->text(), QStringLiteral("g"));
    }

    void doubleClickOnTheButtonTogglesTwice()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
        QVERIFY(rig.window->playback().openEntry("/m/a.avi"));
        rig.engine->calls.clear();
        auto* play = rig.window->findChild<QLabel*>("lblPlay");
        // What a double click brings: press, release, double click, release.
        const QPointF at = play->rect().center();
        const auto send = [&](QEvent::Type type) {
            QMouseEvent e(type, at, play->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
            QApplication::sendEvent(play, &e);
        };
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
            send(type);
        QCOMPARE(rig.engine->calls, (QStringList{"Pause", "Play"}));
        QTest::mouseClick(play, Qt::LeftButton);
        QCOMPARE(rig.engine->calls.last(), QStringLiteral("Pause"));
        QCOMPARE(play->text(), QStringLiteral("8"));
    }

    void progressFillFollowsThePosition()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        QVERIFY(rig.window->playback().openEntry("/m/a.avi"));
        auto* fill = rig.window->findChild<QWidget*>("Shapescroll");
        auto* bar = rig.window->findChild<QWidget*>("Position");
        rig.engine->setPositionQuietly(5.0); // half of the default 10 s
        rig.window->playback().tick();
        QVERIFY(qAbs(fill->width() - bar->width() / 2) <= 1);
        emit rig.engine->OpenStateChange(0, 6);
        QCOMPARE(fill->width(), 0);
    }

    void loadPLFileEdges()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        const QString tipBefore = rig.engine->toolTip();
        rig.engine->calls.clear();
        QVERIFY(!rig.window->playback().openEntry(""));
        QVERIFY(rig.engine->calls.isEmpty());
        QCOMPARE(rig.engine->toolTip(), tipBefore);

        QVERIFY(rig.window->playback().openEntry("\"/m/q.avi\""));
        QCOMPARE(rig.engine->FileName(), QStringLiteral("/m/q.avi"));

        rig.engine->addMedia("/m/sound.mp3", {3.0, 0, 0});
        QVERIFY(rig.window->playback().openEntry("/m/sound.mp3"));
        QCOMPARE(rig.window->VideoHeight, 0);
        QCOMPARE(rig.window->VideoWidth, qRound(320 * twipsPerPixel(rig.window.get()).x));
        QVERIFY(rig.engine->toolTip().startsWith("Orvella: sound.mp3 "));

        // Far wider than a 16-bit twips value holds.
        rig.engine->addMedia("/m/uhd.avi", {1.0, 3840, 2160});
        QVERIFY(rig.window->playback().openEntry("/m/uhd.avi"));
        QCOMPARE(rig.window->VideoWidth, qRound(3840 * twipsPerPixel(rig.window.get()).x));
        QCOMPARE(rig.window->VideoHeight, qRound(2160 * twipsPerPixel(rig.window.get()).y));
    }

    void leavingFullScreenRestoresWindowedSettings()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        auto* controls = rig.window->findChild<QAction*>("mnuMovieControls");
        rig.window->findChild<QAction*>("mnuFullscreen")->trigger();
        QVERIFY(controls->isChecked());
        QCOMPARE(rig.engine->DisplaySize(), DisplaySizes::FullScreen);
        emit rig.engine->KeyUp(Qt::Key_A, 0);
        QVERIFY(controls->isChecked()); // still full screen: nothing changes

        rig.engine->setDisplaySize(DisplaySizes::Fitted); // the engine left by itself
        emit rig.engine->DisplayModeChange();
        QVERIFY(!controls->isChecked());
        QVERIFY(!rig.engine->ShowControls());
    }

    void startupPictureIsWrittenOnceAndStandsStill()
    {
        const FormVideo::Environment e = env();
        QByteArray resource;
        {
            QFile f(":/default.jpg");
            QVERIFY(f.open(QIODevice::ReadOnly));
            resource = f.readAll();
        }
        {
            Rig rig(e);
            QVERIFY(rig.window->load({}));
            QCOMPARE(rig.engine->FileName(), e.pictureFolder + "/default.jpg");
            QCOMPARE(rig.engine->calls.last(), QStringLiteral("Pause"));
        }
        QFile written(e.pictureFolder + "/default.jpg");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), resource);
        written.close();
        const QDateTime stamp = QFileInfo(written).lastModified();
        {
            Rig rig(e);
            QVERIFY(rig.window->load({}));
        }
        QCOMPARE(QFileInfo(written).lastModified(), stamp);
    }

    void startupPictureIsInTheUsersCacheNotBesideTheProgram()
    {
        FormVideo::Environment e = FormVideo::defaultEnvironment();
        e.lockPath = env().lockPath;
        Rig rig(e);
        QVERIFY(rig.window->load({}));
        QCOMPARE(rig.engine->FileName(), m_dir.filePath("cache/orvella/default.jpg"));
        QVERIFY(QFileInfo(rig.engine->FileName()).isFile());
    }

    void startupPictureFailuresAreReported()
    {
        FormVideo::Environment e = env();
        // default.jpg taken by a folder: the picture cannot be written there.
        QVERIFY(
            QDir().mkdir(e.pictureFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QDir().mkdir(e.pictureFolder + "/default.jpg"));
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        const auto read = [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->accept();
        };
        {
            Rig rig(e);
            WhenShown<QMessageBox> answer(read);
            QVERIFY(rig.window->load({}));
            QVERIFY(answer.seen());
            QCOMPARE(title, QStringLiteral("Warning"));
            QCOMPARE(icon, QMessageBox::Critical);
            QVERIFY2(QRegularExpression("^\\d+:Error in GenFileFromRes\\.  Error Message: .+")
                         .match(text)
                         .hasMatch(),
                     qPrintable(text));
            // The engine is offered the path all the same.
            QCOMPARE(rig.engine->opened, QStringList{e.pictureFolder + "/default.jpg"});
        }
        // The picture's folder cannot be made.
        QFile blocker(e.pictureFolder + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        e.pictureFolder = blocker.fileName() + "/data";
        e.lockPath += "2";
        Rig rig(e);
        WhenShown<QMessageBox> answer(read);
        QVERIFY(rig.window->load({}));
        QVERIFY(answer.seen());
        QVERIFY2(text.contains(":Error in Main.  Error Message: "), qPrintable(text));
        QVERIFY(rig.engine->opened.isEmpty());
    }

    void secondInstanceIsRefused()
    {
        const FormVideo::Environment e = env();
        Rig first(e);
        QVERIFY(first.window->load({}));
        Rig second(e);
        QString title, text;
        WhenShown<QMessageBox> answer([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        QVERIFY(!second.window->load({"/m/ignored.avi"}));
        QVERIFY(answer.seen());
        QCOMPARE(title, QStringLiteral("Orvella"));
        QCOMPARE(text, QStringLiteral("ORV is allready Running!"));
        QVERIFY(second.engine->opened.isEmpty());
        QCOMPARE(second.window->MPath, QString());
    }

    void rightClickOnThePictureOpensTheMenu()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        QMenu* menu = rig.window->mnuFile();
        QVERIFY(!menu->isVisible());
        emit rig.engine->MouseDown(1, 0, 10, 10);
        QVERIFY(!menu->isVisible());
        emit rig.engine->MouseDown(2, 0, 10, 10);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void exitUnloadsThePlaylistWindow()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        QPointer<PlaylistWindow> pls = &rig.window->playlistWindow();
        pls->show();
        rig.window->findChild<QAction*>("mnuExit")->trigger();
        QVERIFY(!pls->isVisible());
        QVERIFY(!rig.window->isVisible());
        rig.window.reset();
        QVERIFY(pls.isNull());
    }

    void exitPutsAwayEverythingOfTheProgram()
    {
        const FormVideo::Environment e = env();
        Rig rig(e);
        QVERIFY(rig.window->load({}));
        rig.playlist().append({{"/m/1.avi", "1.avi"}, {"/m/2.avi", "2.avi"}});
        rig.playlist().PlayNext();
        QSignalSpy unloaded(rig.window.get(), &FormVideo::unloaded);
        rig.window->findChild<QAction*>("mnuAbout")->trigger();
        const QPointer<frmSplash> about = rig.window->splash();
        QVERIFY(about && about->isVisible());
        rig.engine->calls.clear();
        rig.window->findChild<QAction*>("mnuExit")->trigger();
        QVERIFY(!about || !about->isVisible());
        QCOMPARE(rig.engine->calls, QStringList{"shutDown"});
        QVERIFY(!rig.window->ShellIcon1().Visible());
        QVERIFY(Startup::SingleInstanceGuard(e.lockPath).isFirst());
        QCOMPARE(unloaded.count(), 1);
        // The end of the file, reported late, opens nothing more.
        rig.engine->reachEnd();
        QCoreApplication::processEvents();
        QCOMPARE(rig.engine->calls, QStringList{"shutDown"});
    }

    void exitWhileAFileOpensIsSafe()
    {
        Rig rig(env());
        QVERIFY(rig.window->load({}));
        rig.playlist().append({{"/m/1.avi", "1.avi"}, {"/m/2.avi", "2.avi"}});
        rig.engine->duringOpen = [&] { rig.window->close(); };
        rig.playlist().PlayNext();
        QCOMPARE(rig.playlist().selectedItem(), 1);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(!rig.window->playlistWindow().isVisible());
        QVERIFY(!rig.playlist().startupTimer().isActive());
    }
};

QTEST_MAIN(TestFormVideo)
#include "tst_formvideo.moc"
