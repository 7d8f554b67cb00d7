// The main window's arithmetic in twips: the layout, the bars' values, dragging, maximising,
// zooming and docking the playlist.
#include "window/barvalues.h"
#include "window/geometry.h"
#include "window/layout.h"

#include <QTest>

using namespace WindowGeometry;

class TestGeometry : public QObject
{
    Q_OBJECT

private slots:
    void layoutAtTheMinimumSize_data()
    {
        QTest::addColumn<QRect>("placed");
        QTest::addColumn<QRect>("expected");
        const Layout::MainWindow l = Layout::mainWindow(3600, 3000);
        QTest::newRow("lblOpen") << l.lblOpen << QRect(0, 0, 195, 195);
        QTest::newRow("lblPrev") << l.lblPrev << QRect(180, 0, 195, 195);
        QTest::newRow("lblPlay") << l.lblPlay << QRect(360, 0, 195, 195);
        QTest::newRow("lblNext") << l.lblNext << QRect(540, 0, 195, 195);
        QTest::newRow("Label5") << l.Label5 << QRect(780, -15, 195, 195);
        QTest::newRow("Label4") << l.Label4 << QRect(3015, 0, 195, 195);
        QTest::newRow("Label3") << l.Label3 << QRect(3210, 0, 195, 195);
        QTest::newRow("Label2") << l.Label2 << QRect(3405, 0, 195, 195);
        QTest::newRow("Label1") << l.Label1 << QRect(3405, 2805, 195, 195);
        QTest::newRow("Position") << l.Position << QRect(90, 2810, 2445, 135);
        QTest::newRow("Volume: 960 wide, 30 over the seek bar")
            << l.Volume << QRect(2505, 2810, 960, 135);
        QTest::newRow("engine") << l.engine << QRect(60, 195, 3450, 2610);
    }
    void layoutAtTheMinimumSize()
    {
        QFETCH(QRect, placed);
        QFETCH(QRect, expected);
        QCOMPARE(placed, expected);
    }

    void barValues_data()
    {
        QTest::addColumn<double>("fill");
        QTest::addColumn<double>("seekTo"); // of a 60 s file
        QTest::newRow("left end") << 0.0 << 0.0;
        QTest::newRow("middle") << 1200.0 << 30.0;
        QTest::newRow("right end") << 2400.0 << 60.0;
        QTest::newRow("past the right end, sent unchanged") << 3000.0 << 75.0;
    }
    void barValues()
    {
        QFETCH(double, fill);
        QFETCH(double, seekTo);
        QCOMPARE(BarValues::seekTarget(60, fill, 2400), seekTo);
        QCOMPARE(BarValues::seekTarget(0, fill, 2400), 0.0); // nothing open
    }

    void barEdges()
    {
        QCOMPARE(BarValues::seekTarget(60, 100, 0), std::nullopt);
        QCOMPARE(BarValues::fillWidthFor(-30, 700), 700.0);
        QCOMPARE(BarValues::fillWidthFor(5000, 700), 5000.0);
    }

    void drag_data()
    {
        QTest::addColumn<QPoint>("window");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("right and down")
            << QPoint(1500, 1500) << QPoint(300, 90) << QPoint(450, 30) << QPoint(1650, 1440);
        QTest::newRow("off the screen's left")
            << QPoint(0, 0) << QPoint(300, 90) << QPoint(0, 90) << QPoint(-300, 0);
        // Beyond what 16 bits held: a press 3000 px from the corner of a large window.
        QTest::newRow("far press point")
            << QPoint(0, 0) << QPoint(45000, 40000) << QPoint(45150, 40000) << QPoint(150, 0);
    }
    void drag()
    {
        QFETCH(QPoint, window);
        QFETCH(QPoint, press);
        QFETCH(QPoint, mouse);
        QFETCH(QPoint, expected);
        QCOMPARE(dragged(window, press, mouse), expected);
    }

    void maximiseAndRestore_data()
    {
        QTest::addColumn<QRect>("workAreaPixels");
        QTest::addColumn<QRect>("maximised");
        QTest::newRow("taskbar at the bottom")
            << QRect(0, 0, 1280, 770) << QRect(0, 0, 19200, 11550);
        QTest::newRow("panel at the top") << QRect(0, 30, 1280, 770) << QRect(0, 450, 19200, 11550);
        QTest::newRow("second screen")
            << QRect(1280, 0, 1920, 1080) << QRect(19200, 0, 28800, 16200);
    }
    void maximiseAndRestore()
    {
        QFETCH(QRect, workAreaPixels);
        QFETCH(QRect, maximised);
        const QRect normal(1500, 1200, 4800, 3600);
        MaximiseToggle toggle;
        QCOMPARE(toggle.toggle(normal, toTwips(workAreaPixels, 15, 15)), maximised);
        QVERIFY(toggle.maximised());
        // A zoom while maximised changes the size, not what restoring goes back to.
        const QRect zoomed(maximised.topLeft(), QSize(2520, 2610));
        QCOMPARE(toggle.toggle(zoomed, toTwips(workAreaPixels, 15, 15)), normal);
        QVERIFY(!toggle.maximised());
        // A file opened while maximised leaves the rectangle to go back to as it was; one
        // opened in the normal state records the window's.
        toggle.toggle(normal, maximised);
        toggle.recordRestoreRect(maximised);
        QCOMPARE(toggle.toggle(maximised, maximised), normal);
        toggle.recordRestoreRect(QRect(0, 0, 6000, 4500));
        QCOMPARE(toggle.restoreRect(), QRect(0, 0, 6000, 4500));
    }

    void zoom_data()
    {
        QTest::addColumn<int>("videoWidth");
        QTest::addColumn<int>("videoHeight");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("statusBar");
        QTest::addColumn<QSize>("window");
        QTest::newRow("100%") << 4800 << 3600 << 100 << false << QSize(4920, 4410);
        QTest::newRow("50%") << 4800 << 3600 << 50 << false << QSize(2520, 2610);
        QTest::newRow("75% is two thirds") << 4800 << 3600 << 75 << false << QSize(3320, 3210);
        QTest::newRow("200%") << 4800 << 3600 << 200 << false << QSize(9720, 8010);
        QTest::newRow("with the status line") << 4800 << 3600 << 100 << true << QSize(4920, 4560);
        QTest::newRow("no picture") << 4800 << 0 << 100 << false << QSize(4920, 810);
        QTest::newRow("no picture, status line") << 4800 << 0 << 100 << true << QSize(4920, 960);
        // 200 % of 4K: twice 57600 twips, far past 16 bits.
        QTest::newRow("200% of 4K") << 57600 << 32400 << 200 << false << QSize(115320, 65610);
    }
    void zoom()
    {
        QFETCH(int, videoWidth);
        QFETCH(int, videoHeight);
        QFETCH(int, percent);
        QFETCH(bool, statusBar);
        QFETCH(QSize, window);
        QCOMPARE(zoomedWindow(videoWidth, videoHeight, percent, 15, 15, {statusBar, false}),
                 window);
    }

    void docking_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("playlist");
        QTest::newRow("room below: right under it, centred")
            << QRect(3000, 1500, 4800, 3600) << QPoint(1620, 5100);
        QTest::newRow("near the bottom: bottom edges level")
            << QRect(3000, 6000, 4800, 3600) << QPoint(1620, 5490);
        QTest::newRow("exactly to the bottom still fits")
            << QRect(0, 4290, 7560, 3600) << QPoint(0, 7890);
    }
    void docking()
    {
        QFETCH(QRect, main);
        QFETCH(QPoint, playlist);
        QCOMPARE(dockedPlaylist(main, QSize(7560, 4110), 12000), playlist);
    }
};

QTEST_GUILESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
