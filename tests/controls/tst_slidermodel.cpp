// The slider's arithmetic: the thumb for a value, the value for a dragged thumb, and when a
// change is reported.
#include "controls/slidermodel.h"

#include <QTest>

class TestSliderModel : public QObject
{
    Q_OBJECT

    // A track of 1000 twips: the slider is 1270 tall with its 270-twip thumb.
    static SliderModel slider(int max, int min = 0)
    {
        SliderModel s;
        s.resize(1270);
        s.setMin(min);
        s.setMax(max);
        return s;
    }

private slots:
    void thumbFromValue_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("value");
        QTest::addColumn<double>("top");
        QTest::addColumn<bool>("change");
        QTest::newRow("middle") << 10 << 0 << 5 << 500.0 << true;
        QTest::newRow("zero: top, no change") << 10 << 0 << 0 << 0.0 << false;
        QTest::newRow("past the end: bottom") << 10 << 0 << 20 << 1000.0 << true;
        QTest::newRow("empty range: top, no change") << 0 << 0 << 3 << 0.0 << false;
        QTest::newRow("negative min, zero") << 10 << -10 << 0 << 500.0 << true;
        QTest::newRow("negative min, below zero") << 10 << -10 << -5 << 250.0 << true;
        QTest::newRow("below min: above the track") << 10 << 0 << -2 << -200.0 << true;
    }
    void thumbFromValue()
    {
        QFETCH(int, max);
        QFETCH(int, min);
        QFETCH(int, value);
        QFETCH(double, top);
        QFETCH(bool, change);
        SliderModel s = slider(max, min);
        QCOMPARE(s.setValue(value), change);
        QCOMPARE(s.thumbTop(), top);
        QCOMPARE(s.Value(), value); // stored as written, whatever the range
    }

    void drag()
    {
        SliderModel s = slider(10);
        s.press(false, 100.4);
        QVERIFY(!s.move(900)); // the first move only starts the drag
        QCOMPARE(s.thumbTop(), 0.0);
        QVERIFY(s.move(600)); // the grabbed point follows the pointer
        QCOMPARE(s.thumbTop(), 500.0);
        QCOMPARE(s.Value(), 5);
        QVERIFY(!s.setValue(2)); // written during the drag: lost
        QCOMPARE(s.Value(), 5);
        QVERIFY(s.move(100 + 5000)); // moves are relative to the thumb, now at 500
        QCOMPARE(s.thumbTop(), 1000.0);
        QCOMPARE(s.Value(), 10); // the bottom is the range
        s.release(true);         // the right button does not end it
        QVERIFY(s.move(-5000));
        QCOMPARE(s.Value(), 0); // the top is Min
        s.release(false);
        QVERIFY(s.setValue(2));
        QCOMPARE(s.thumbTop(), 200.0);

        s.press(true, 50); // the right button does not start one
        QVERIFY(!s.move(10));
        QVERIFY(!s.move(10));
        s.resize(1270);
        QCOMPARE(s.thumbTop(), 0.0);
    }

    void itemsVisibleSetsThePage()
    {
        SliderModel s = slider(20);
        QVERIFY(!s.ItemsVisible(200, 0)); // no rows to measure: only the page mode
        QCOMPARE(s.LargeChange(), 0);
        QVERIFY(s.setValue(5));
        QCOMPARE(s.thumbTop(), 250.0);
        QVERIFY(s.ItemsVisible(205, 20));
        QCOMPARE(s.LargeChange(), 10);
        QCOMPARE(s.thumbTop(), 500.0); // 5 of a range of 20 - 10
        QCOMPARE(s.properties(), (QVariantMap{{"Value", 5}, {"Max", 20}, {"Min", 0}}));
    }
};

QTEST_GUILESS_MAIN(TestSliderModel)
#include "tst_slidermodel.moc"
