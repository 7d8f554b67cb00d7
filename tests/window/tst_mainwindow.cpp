// The main window's presentation with a scripted engine: the command set behind the glyphs,
// the bars, the minimum size, zoom, maximise and the docked playlist.
#include "controls/glyphlabel.h"
#include "controls/modlocksize.h"
#include "fakeengine.h"
#include "player/formvideo.h"
#include "playlist/formpls.h"
#include "window/bars.h"
#include "window/maximiser.h"
#include "window/playeractions.h"
#include "window/windowmover.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
            QDir().mkpath(base + "/prog");
            auto fake = std::make_unique<FakeEngine>();
            engine = fake.get();
            window = std::make_unique<FormVideo>(
                std::move(fake),
                FormVideo::Environment{base + "/orvella.lock", base + "/prog", base + "/data"});
            window->load({});
            if (!QTest::qWaitForWindowExposed(window.get()))
                qWarning("main window not exposed");
            engine->calls.clear();
        }
        QAction* action(const char* name) { return window->findChild<QAction*>(name); }
        QWidget* child(const char* name) { return window->findChild<QWidget*>(name); }
        bool timerOn() { return window->findChild<QTimer*>("Timerscroll")->isActive(); }
        formPLS& playlist() { return window->playlistWindow(); }
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

    void menuHoldsEveryCommand()
    {
        Rig r = rig();
        QMenu* menu = r.window->findChild<QMenu*>("mnuFile");
        const QList<QMenu*> menus = menu->findChildren<QMenu*>() << menu;
        for (QAction* a : r.window->actions().findChildren<QAction*>()) {
            if (a->objectName() == "playPause")
                continue;
            bool found = false;
            for (const QMenu* m : menus)
                found = found || m->actions().contains(a);
            QVERIFY2(found, qPrintable(a->objectName()));
        }
        QVERIFY(r.action("mnuPLSattached")->isChecked());
        QVERIFY(r.window->PLSattached());
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
        QVERIFY(r.window->LoadPLFile("/m/a.avi"));
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
        QVERIFY(r.window->LoadPLFile("/m/a.avi"));
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
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
