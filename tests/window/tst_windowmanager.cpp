// The main window under a real window manager (openbox on the test's own X server), driven by
// real pointer input: dragging by the surface, the window manager's own move and corner
// sizing with the minimum size held (the program's own zoom is not), maximising to the work
// area, the docked playlist.
#include "controls/glyphlabel.h"
#include "fakeengine.h"
#include "ownxserver.h"
#include "player/formvideo.h"
#include "player/playbackcontroller.h"
#include "playlist/playlistwindow.h"
#include "window/playeractions.h"
#include "window/windowmover.h"

#include <QAction>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>

class TestWindowManager : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<FormVideo> m_window;
    FakeEngine* m_engine = nullptr;
    int m_presses = 0;

    static QStringList at(QPoint p) { return {QString::number(p.x()), QString::number(p.y())}; }

    // Press, move and release as a user's hand would. The press must reach the player before
    // the pointer moves on, and a window manager's move or sizing takes its grab a little
    // after it starts. nudge first moves a pixel with the button held, as the size grip
    // wants before it hands over to the window manager.
    void drag(QPoint from, QPoint to, bool nudge = false)
    {
        QCOMPARE(ownX().run(QStringList{"mousemove", "--sync"} + at(from)), 0);
        const int before = m_presses;
        QCOMPARE(ownX().run({"mousedown", "1"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_presses > before, 5000);
        if (nudge)
            QCOMPARE(ownX().run(QStringList{"mousemove", "--sync"} + at(from + QPoint(1, 1))), 0);
        QTest::qWait(150);
        QCOMPARE(ownX().run(QStringList{"mousemove", "--sync"} + at(to)), 0);
        QTest::qWait(50);
        QCOMPARE(ownX().run({"mouseup", "1"}), 0);
    }

    void click(QWidget* widget)
    {
        const QPoint centre = widget->mapToGlobal(widget->rect().center());
        QCOMPARE(ownX().run(QStringList{"mousemove", "--sync"} + at(centre)), 0);
        QCOMPARE(ownX().run({"click", "1"}), 0);
    }

    // Another program on the same display: its own connection and a window of its own.
    struct OtherClient
    {
        xcb_connection_t* connection = xcb_connect(qPrintable(ownX().display()), nullptr);
        xcb_window_t window = 0;
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        OtherClient()
        {
            window = xcb_generate_id(connection);
            xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, root, 700, 450, 200, 100, 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_map_window(connection, window);
            xcb_flush(connection);
        }
        ~OtherClient() { xcb_disconnect(connection); }
        bool grabAltReturn()
        {
            const xcb_keycode_t returnKey = 36; // Return in the virtual server's key map
            std::free(xcb_request_check(
                connection, xcb_ungrab_key_checked(connection, returnKey, root, XCB_MOD_MASK_1)));
            xcb_generic_error_t* error = xcb_request_check(
                connection, xcb_grab_key_checked(connection, 1, root, XCB_MOD_MASK_1, returnKey,
                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            std::free(error);
            return error == nullptr;
        }
        bool numLockOn()
        {
            auto* reply =
                xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
            const bool on = reply && (reply->mask & XCB_MOD_MASK_2);
            std::free(reply);
            return on;
        }
    };

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++m_presses;
        return false;
    }

private slots:
    void init()
    {
        static int serial = 0;
        const QString base = m_dir.filePath(QString::number(++serial));
        QDir().mkpath(base);
        auto engine = std::make_unique<FakeEngine>();
        m_engine = engine.get();
        m_window = std::make_unique<FormVideo>(
            std::move(engine), FormVideo::Environment{base + "/orvella.lock", base + "/data"});
        QVERIFY(m_window->load({}));
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->move(100, 100);
        QTRY_COMPARE(m_window->pos(), QPoint(100, 100));
        qApp->installEventFilter(this);
    }
    void dragBySurfaceCarriesTheDockedPlaylist()
    {
        m_window->actions().mnuShowPL->trigger();
        PlaylistWindow& playlist = m_window->playlistWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&playlist));
        drag(QPoint(300, 105), QPoint(360, 65));
        QTRY_COMPARE(m_window->pos(), QPoint(160, 60));
        const QRect main = m_window->geometry();
        QTRY_COMPARE(playlist.pos(),
                     QPoint(main.x() + (main.width() - playlist.width()) / 2, main.bottom() + 1));
    }

    void windowManagersOwnMove()
    {
        m_window->mover().setMode(WindowMover::Mode::System);
        drag(QPoint(300, 105), QPoint(350, 145));
        QTRY_COMPARE_WITH_TIMEOUT(m_window->pos(), QPoint(150, 140), 3000);
    }

    void gripSizesWithTheMinimumHeld()
    {
        auto* grip = m_window->findChild<GlyphLabel*>("Label1");
        const QSize before = m_window->size();
        QPoint corner = grip->mapToGlobal(grip->rect().center());
        drag(corner, corner + QPoint(41, 31), true);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->size(), before + QSize(40, 30), 3000);
        QCOMPARE(m_window->pos(), QPoint(100, 100));
        // The layout followed the new size.
        QTRY_COMPARE(grip->geometry().bottomRight(), m_window->rect().bottomRight());

        corner = grip->mapToGlobal(grip->rect().center());
        drag(corner, QPoint(120, 120), true);
        QTest::qWait(300);
        QCOMPARE(m_window->size(), QSize(240, 200));
    }

    void zoomIsNotHeldToTheMinimum()
    {
        m_engine->addMedia("/m/a.avi", {}); // 320 x 240
        QVERIFY(m_window->playback().openEntry("/m/a.avi"));
        // The window has its new size at once; the window manager's answer comes after.
        m_window->actions().mnu50->trigger();
        QTest::qWait(300);
        QCOMPARE(m_window->size(), QSize(168, 174));
        m_window->actions().mnu75->trigger(); // two thirds, as it always was
        QTest::qWait(300);
        QCOMPARE(m_window->size(), QSize(221, 214));
    }

    void maximiseToTheWorkAreaAndBack()
    {
        const QRect normal = m_window->geometry();
        auto* maximise = m_window->findChild<GlyphLabel*>("Label3");
        click(maximise);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->geometry(), m_window->screen()->availableGeometry(),
                                  3000);
        click(maximise);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->geometry(), normal, 3000);
    }

    void hotKeyWithAnotherProgramInFront()
    {
        OtherClient other;
        QTest::qWait(200); // managed by the window manager
        QCOMPARE(ownX().run({"windowactivate", "--sync", QString::number(other.window)}), 0);
        QTRY_VERIFY(!m_window->isActiveWindow());
        QAction* controls = m_window->actions().mnuMovieControls;
        for (const bool numLock : {false, true}) {
            if (numLock) {
                QCOMPARE(ownX().run({"key", "Num_Lock"}), 0);
                QTRY_VERIFY(other.numLockOn());
            }
            QCOMPARE(ownX().run({"key", "alt+Return"}), 0);
            QTRY_COMPARE(m_engine->DisplaySize(), DisplaySizes::FullScreen);
            QVERIFY(controls->isChecked());
            QCOMPARE(ownX().run({"key", "alt+Return"}), 0);
            QTRY_COMPARE(m_engine->DisplaySize(), DisplaySizes::Fitted);
            QVERIFY(!controls->isChecked());
        }
        QCOMPARE(ownX().run({"key", "Num_Lock"}), 0);
        QVERIFY(!m_window->isActiveWindow());

        // Held while the player runs; free for others once its window unloads.
        QVERIFY(!other.grabAltReturn());
        m_window->close();
        QVERIFY(other.grabAltReturn());
    }

    void playlistStaysAboveTheActiveMainWindow()
    {
        OtherClient x;
        // Where a window stands among the root's children, bottom first: the window manager
        // stacks its frames there.
        const auto stackPlace = [&](WId id) {
            xcb_window_t w = static_cast<xcb_window_t>(id);
            for (;;) {
                auto* tree =
                    xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, w), nullptr);
                const xcb_window_t parent = tree ? tree->parent : x.root;
                std::free(tree);
                if (parent == x.root)
                    break;
                w = parent;
            }
            auto* tree =
                xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, x.root), nullptr);
            const xcb_window_t* children = xcb_query_tree_children(tree);
            const int count = xcb_query_tree_children_length(tree);
            const int place = int(std::find(children, children + count, w) - children);
            std::free(tree);
            return place;
        };
        m_window->actions().mnuShowPL->trigger();
        PlaylistWindow& playlist = m_window->playlistWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&playlist));
        click(m_window.get()); // the window manager raises and activates the main window
        QTRY_VERIFY(m_window->isActiveWindow());
        QTRY_VERIFY(stackPlace(playlist.winId()) > stackPlace(m_window->winId()));
    }

    void cleanup()
    {
        qApp->removeEventFilter(this);
        m_window.reset();
    }
};

ORVELLA_QTEST_MAIN_WITH_OWN_X(TestWindowManager)
#include "tst_windowmanager.moc"
