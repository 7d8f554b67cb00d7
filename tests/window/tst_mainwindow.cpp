// The main window's presentation with a scripted engine: the command set behind the glyphs,
// the bars, the minimum size, zoom, maximise and the docked playlist.
#include "controls/frmsplash.h"
#include "controls/glyphlabel.h"
#include "controls/modlocksize.h"
#include "controls/shellicon.h"
#include "fakeengine.h"
#include "player/formvideo.h"
#include "player/playbackcontroller.h"
#include "playlist/playlistwindow.h"
#include "window/aboutshowing.h"
#include "window/bars.h"
#include "window/maximiser.h"
#include "window/playeractions.h"
#include "window/windowmover.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    struct Rig
    {
        FakeEngine* engine;
        std::unique_ptr<FormVideo> window;
        explicit Rig(const QString& base)
        {
            QDir().mkpath(base);
            auto fake = std::make_unique<FakeEngine>();
            engine = fake.get();
            window = std::make_unique<FormVideo>(
                std::move(fake), FormVideo::Environment{base + "/orvella.lock", base + "/data"});
            window->load({});
            if (!QTest::qWaitForWindowExposed(window.get()))
                qWarning("main window not exposed");
            engine->calls.clear();
        }
        QAction* action(const char* name) { return window->findChild<QAction*>(name); }
        QWidget* child(const char* name) { return window->findChild<QWidget*>(name); }
        bool timerOn() { return window->findChild<QTimer*>("Timerscroll")->isActive(); }
        PlaylistWindow& playlist() { return window->playlistWindow(); }
    };
    Rig rig() { return Rig(m_dir.filePath(QString::number(++m_serial))); }

private slots:
    void glyphsTriggerTheCommandSet_data()
    {
        QTest::addColumn<QString>("glyph");
        QTest::addColumn<QString>("action");
        QTest::newRow("open") << "lblOpen"
                              << "mnuOpen";
        QTest::newRow("play") << "lblPlay"
                              << "playPause";
        QTest::newRow("playlist") << "Label5"
                                  << "mnuShowPL";
        QTest::newRow("maximise") << "Label3"
                                  << "mnuMaximize";
        QTest::newRow("close") << "Label2"
                               << "mnuExit";
    }
    void glyphsTriggerTheCommandSet()
    {
        QFETCH(QString, glyph);
        QFETCH(QString, action);
        Rig r = rig();
        auto* command = r.window->findChild<QAction*>(action);
        // Every command is reachable from the popup menu or a glyph, under its own name.
        QVERIFY(command);
        QSignalSpy triggered(command, &QAction::triggered);
        // The open dialog would wait for an answer.
        if (action == "mnuOpen")
            command->disconnect(r.window.get());
        auto* label = r.window->findChild<GlyphLabel*>(glyph);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5)); // released off it
        QCOMPARE(triggered.count(), 0);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);
    }

    void menuTree()
    {
        // depth, name, caption and check box ("" none, "[ ]" unchecked, "[x]" checked)
        const QStringList tree{
            "0 mnuOpen Open",
            "0 space8 -",
            "0 mnuMedia Media",
            "1 mnushowOptions Options",
            "2 mnuMovieControls Movie Controls [ ]",
            "2 mnuMovieStatus MovieStatus [ ]",
            "2 mnuPLSattached Attach Playlist [x]",
            "1 space2 -",
            "1 mnuPrev Prev",
            "1 mnuNext Next",
            "1 space7 -",
            "1 mnuSize Size",
            "2 mnu50 50%",
            "2 mnu75 75%",
            "2 mnu100 100%",
            "2 mnu200 200%",
            "2 space1 -",
            "2 mnuFullscreen FullScreen",
            "1 space3 -",
            "1 mnuStats Stats",
            "1 mnuOptions Media Options",
            "0 mnuShowPL Playlist",
            "0 space4 -",
            "0 mnuAbout About",
            "0 space5 -",
            "0 mnuMinimize Minimize",
            "0 mnuMaximize Maximize",
            "0 space6 -",
            "0 mnuExit Exit",
        };
        Rig r = rig();
        QStringList seen;
        std::function<void(QMenu*, int)> walk = [&](QMenu* menu, int depth) {
            for (QAction* a : menu->actions()) {
                QString line = QStringLiteral("%1 ").arg(depth);
                if (QMenu* sub = a->menu()) {
                    seen << line + sub->objectName() + ' ' + sub->title();
                    walk(sub, depth + 1);
                    continue;
                }
                line += a->objectName() + ' ' + (a->isSeparator() ? "-" : a->text());
                if (a->isCheckable())
                    line += a->isChecked() ? " [x]" : " [ ]";
                seen << line;
                QVERIFY2(a->isSeparator() || a->isEnabled(), qPrintable(line));
            }
        };
        QMenu* mnuFile = r.window->findChild<QMenu*>("mnuFile");
        QCOMPARE(mnuFile->title(), QStringLiteral("Controls"));
        walk(mnuFile, 0);
        QCOMPARE(seen, tree);
        QVERIFY(r.window->PLSattached());
    }

    void engineCommandsWorkWithNothingOpen()
    {
        Rig r = rig();
        for (const char* name : {"mnuStats", "mnuOptions", "mnuMovieControls", "mnuMovieStatus",
                                 "mnuMovieControls", "mnuMovieStatus"})
            r.action(name)->trigger();
        QCOMPARE(r.engine->calls,
                 (QStringList{"ShowDialog:1", "ShowDialog:2", "setShowControls:1",
                              "setShowStatusBar:1", "setShowControls:0", "setShowStatusBar:0"}));
    }

    void trayClicksHideAndShowTheWindow()
    {
        Rig r = rig();
        ShellIcon& tray = r.window->ShellIcon1();
        tray.notify(ShellIcon::LeftDown);
        QVERIFY(!r.window->isVisible());
        // The menu comes also while the window is hidden.
        tray.notify(ShellIcon::RightDown);
        QMenu* menu = r.window->findChild<QMenu*>("mnuFile");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        tray.notify(ShellIcon::LeftDoubleClick);
        QVERIFY(r.window->isVisible());

        // A maximised window comes back covering the work area again.
        r.action("mnuMaximize")->trigger();
        r.window->resize(300, 300);
        tray.notify(ShellIcon::LeftDown);
        tray.notify(ShellIcon::LeftDown);
        QCOMPARE(r.window->geometry(), r.window->screen()->availableGeometry());
        QVERIFY(r.window->maximiser().maximised());
    }

    void minimiseWithoutATrayGoesToTheTaskbar()
    {
        Rig r = rig();
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        QTest::mouseClick(r.window->findChild<GlyphLabel*>("Label4"), Qt::LeftButton);
        QVERIFY(r.window->isVisible());
        QVERIFY(r.window->windowState() & Qt::WindowMinimized);
    }

    void aboutWindow()
    {
        QCOMPARE(frmSplash::versionText(1, 1, 21), QStringLiteral("Version 1.1.21"));
        Rig r = rig();
        r.action("mnuAbout")->trigger();
        r.action("mnuAbout")->trigger();
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(
                     windows.begin(), windows.end(),
                     [](QWidget* w) { return w->objectName() == "frmSplash" && w->isVisible(); }),
                 1);
        QPointer<frmSplash> splash = r.window->splash();
        QCOMPARE(splash->findChild<QLabel*>("lblVersion")->text(),
                 frmSplash::versionText(ORVELLA_VERSION_MAJOR, ORVELLA_VERSION_MINOR,
                                        ORVELLA_VERSION_PATCH));
        QCOMPARE(splash->findChild<QLabel*>("lblProductName")->text(), QStringLiteral("Orvella"));
        QTest::mouseClick(splash->findChild<QLabel*>("Label1"), Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_Shift);
        QVERIFY(splash->isVisible()); // the hint and a key without a character keep it
        QTest::keyClick(splash, Qt::Key_A);
        QTRY_VERIFY(splash.isNull());

        const auto closedBy = [&](const std::function<void(frmSplash*)>& act) {
            r.action("mnuAbout")->trigger();
            QPointer<frmSplash> s = r.window->splash();
            QTest::qWait(AboutShowing::settleMs);
            act(s);
            return QTest::qWaitFor([&] { return s.isNull(); }, 1000);
        };
        QVERIFY(closedBy([](frmSplash* s) {
            QTest::mouseClick(s->findChild<QLabel*>("lblVersion"), Qt::LeftButton);
        }));
        QVERIFY(closedBy([&](frmSplash*) { QApplication::setActiveWindow(r.window.get()); }));
        QVERIFY(closedBy([](frmSplash* s) {
            QApplication::setActiveWindow(s); // it had the focus, then lost it
            QApplication::setActiveWindow(nullptr);
        }));
    }

    void aboutHintFitsItsLabel()
    {
        const frmSplash splash(QStringLiteral("Orvella"), frmSplash::versionText(1, 1, 21));
        const auto* hint = splash.findChild<QLabel*>("Label1");
        QCOMPARE(hint->text(), QStringLiteral("Alt+Enter = FullScreen Toggle"));
        const int width = QFontMetrics(hint->font()).horizontalAdvance(hint->text());
        QVERIFY2(width <= hint->width(), qPrintable(QString::number(width)));
    }

    void minimumSizeBindsTheUserNotTheProgram()
    {
        Rig r = rig();
        QWindow* handle = r.window->windowHandle();
        QCOMPARE(handle->minimumSize(), QSize(240, 200));
        r.window->resize(168, 174);
        QCOMPARE(r.window->size(), QSize(168, 174));
        modLockSize::UnlockWindowSize();
        QCOMPARE(handle->minimumSize(), QSize(0, 0));
    }

    void volumeBarFollowsTheLeftButtonOnly()
    {
        Rig r = rig();
        auto* bar = static_cast<VolumeBar*>(r.child("Volume"));
        const int w = bar->width();
        QTest::mousePress(bar, Qt::RightButton, {}, QPoint(w / 2, 2));
        QVERIFY(!r.timerOn());
        QCOMPARE(r.engine->calls, QStringList{"setVolume:-3750"});
        QTest::mouseMove(bar, QPoint(w / 4, 2)); // right button held: no change
        QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(w / 4, 2));
        QVERIFY(r.timerOn());
        QCOMPARE(r.engine->calls.size(), 1);

        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(w, 2));
        QTest::mouseMove(bar, QPoint(-4, 2));        // left of the bar: the fill keeps its width
        QTest::mouseMove(bar, QPoint(w + w / 2, 2)); // past the right end: sent unchanged
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(w + w / 2, 2));
        QCOMPARE(r.engine->calls.mid(1),
                 (QStringList{"setVolume:0", "setVolume:0", "setVolume:3750"}));
        // A resize draws the fill full again.
        r.window->resize(r.window->width() + 30, r.window->height());
        QCOMPARE(bar->fill()->width(), bar->width());
    }

    void barsFollowThePlaybackOwner()
    {
        Rig r = rig();
        auto* playback = r.window->findChild<PlaybackController*>();
        QVERIFY(playback);
        auto* volume = static_cast<VolumeBar*>(r.child("Volume"));
        // A volume set from anywhere else, the desktop's slider for one, moves the fill.
        playback->setVolume(-3750);
        QCOMPARE(volume->fill()->width(), volume->width() / 2);

        r.engine->addMedia("/m/a.avi", {4.0, 320, 240});
        QVERIFY(r.window->playback().openEntry("/m/a.avi"));
        auto* seek = static_cast<SeekBar*>(r.child("Position"));
        QSignalSpy jumps(playback, &PlaybackController::positionJumped);
        QTest::mouseClick(seek, Qt::LeftButton, {}, QPoint(seek->width() / 2, 2));
        QCOMPARE(jumps.size(), 1);
        QVERIFY(std::abs(jumps.first().first().toDouble() - 2.0) < 0.1);
        // Halted, a jump from a key or the desktop (Stop is one to 0 s) moves the fill at once.
        r.engine->Pause();
        playback->seekBy(-1);
        QVERIFY2(std::abs(seek->fill()->width() - seek->width() / 4) <= 1,
                 qPrintable(QString::number(seek->fill()->width())));
    }

    void seekBarWithNothingOpen()
    {
        Rig r = rig();
        auto* bar = static_cast<SeekBar*>(r.child("Position"));
        r.engine->setStrict(true);
        r.engine->setFileName("/refused.avi"); // nothing open: length 0
        r.engine->calls.clear();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2));
        QCOMPARE(r.engine->calls, (QStringList{"Pause", "setCurrentPosition:0", "Play"}));
        QCOMPARE(bar->fill()->width(), bar->width() / 2);
    }

    void zoom()
    {
        Rig r = rig();
        const QSize before = r.window->size();
        r.engine->setStrict(true);
        r.engine->setFileName("/refused.avi"); // nothing open
        r.action("mnu200")->trigger();
        QCOMPARE(r.window->size(), before);

        r.engine->addMedia("/m/a.avi", {}); // 320 x 240
        QVERIFY(r.window->playback().openEntry("/m/a.avi"));
        r.action("mnuFullscreen")->trigger();
        r.action("mnu50")->trigger();
        // Below the minimum size: the program's own sizes are not held to it.
        QCOMPARE(r.window->size(), QSize(168, 174));
        QCOMPARE(r.engine->DisplaySize(), DisplaySizes::Fitted);
        QVERIFY(!r.action("mnuMovieControls")->isChecked());
        r.action("mnuMovieStatus")->trigger();
        r.action("mnu100")->trigger();
        QCOMPARE(r.window->size(), QSize(328, 304));
        QCOMPARE(r.engine->rect(), QRect(4, 13, 318, 278));
    }

    void maximiseToTheWorkAreaAndBack()
    {
        Rig r = rig();
        QVERIFY(r.window->playback().openEntry("/m/a.avi"));
        const QRect normal = r.window->geometry();
        const QRect workArea = r.window->screen()->availableGeometry();
        QTest::mouseDClick(r.window.get(), Qt::LeftButton, {}, QPoint(200, 5));
        QCOMPARE(r.window->geometry(), workArea);
        QCOMPARE(r.window->findChild<GlyphLabel*>("Label3")->text(), QStringLiteral("2"));
        // No drag while maximised; a zoom keeps it marked maximised.
        QTest::mousePress(r.window.get(), Qt::LeftButton, {}, QPoint(200, 5));
        QVERIFY(!r.window->mover().boolis());
        r.action("mnu100")->trigger();
        QCOMPARE(r.window->size(), QSize(328, 294));
        QVERIFY(r.window->maximiser().maximised());
        r.action("mnuMaximize")->trigger();
        QCOMPARE(r.window->geometry(), normal);
        QCOMPARE(r.window->findChild<GlyphLabel*>("Label3")->text(), QStringLiteral("1"));
    }

    void playlistDocksWhileAttached()
    {
        Rig r = rig();
        r.window->move(100, 50);
        // Attaching while hidden places it and keeps it hidden.
        r.action("mnuPLSattached")->trigger();
        QVERIFY(!r.window->PLSattached());
        r.action("mnuPLSattached")->trigger();
        QVERIFY(r.window->PLSattached());
        QVERIFY(!r.playlist().isVisible());
        const auto dockedAt = [&] {
            const QRect m = r.window->geometry();
            return QPoint(m.x() + (m.width() - r.playlist().width()) / 2, m.bottom() + 1);
        };
        QCOMPARE(r.playlist().pos(), dockedAt());
        r.action("mnuShowPL")->trigger();
        QVERIFY(r.playlist().isVisible());

        // Dragging by the surface brings it along.
        QTest::mousePress(r.window.get(), Qt::LeftButton, {}, QPoint(200, 5));
        QTest::mouseMove(r.window.get(), QPoint(230, 25));
        QTest::mouseRelease(r.window.get(), Qt::LeftButton, {}, QPoint(230, 25));
        QCOMPARE(r.window->pos(), QPoint(130, 70));
        QCOMPARE(r.playlist().pos(), dockedAt());

        // Detached, it stays where it is.
        r.action("mnuPLSattached")->trigger();
        const QPoint left = r.playlist().pos();
        r.window->resize(r.window->width() + 40, r.window->height());
        QCOMPARE(r.playlist().pos(), left);
        QTest::mouseClick(r.window->findChild<GlyphLabel*>("Label5"), Qt::LeftButton);
        QVERIFY(!r.playlist().isVisible());
    }

    void dropOnTheMainWindowAddsToThePlaylist()
    {
        Rig r = rig();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/m/dropped.avi")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(r.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(r.window.get(), &drop);
        QCOMPARE(r.playlist().playlist().paths(), QStringList{"/m/dropped.avi"});
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
