// The bar's fill, the desktop's 0..1 and mpv's volume against hundredths of a decibel.
#include "engine/volume.h"

#include <QTest>

class TestVolume : public QObject
{
    Q_OBJECT

private slots:
    void scales_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<double>("fill"); // of a bar 2400 wide
        QTest::addColumn<double>("bus");
        QTest::addColumn<double>("mpv");
        QTest::newRow("silence") << -7500 << 0.0 << 0.0 << 5.6234;
        QTest::newRow("a tenth of the bus is -60 dB") << -6000 << 480.0 << 0.1 << 10.0;
        QTest::newRow("half the bar") << -3750 << 1200.0 << 0.2371 << 23.7137;
        QTest::newRow("half the bus is about -18 dB") << -1806 << 1822.08 << 0.5 << 50.0035;
        QTest::newRow("full") << 0 << 2400.0 << 1.0 << 100.0;
    }
    void scales()
    {
        QFETCH(int, volume);
        QFETCH(double, fill);
        QFETCH(double, bus);
        QFETCH(double, mpv);
        QCOMPARE(Volume::fromBar(fill, 2400), volume);
        QVERIFY(qAbs(Volume::barFraction(volume) * 2400 - fill) < 1e-9);
        QVERIFY(qAbs(Volume::toBus(volume) - bus) < 1e-4);
        QCOMPARE(Volume::fromBus(Volume::toBus(volume)), volume);
        QVERIFY(qAbs(Volume::toMpv(volume) - mpv) < 1e-4);
    }

    void ends()
    {
        QCOMPARE(Volume::fromBar(3000, 2400), 1875); // past the end: the engine limits it
        QCOMPARE(Volume::fromBar(100, 0), std::nullopt);
        QCOMPARE(Volume::fromBar(1e12, 1), std::nullopt);
        QCOMPARE(Volume::fromBar(1.5, 7500), -7498); // halves to the even neighbour
        QCOMPARE(Volume::fromBus(-1), Volume::silence);
        QCOMPARE(Volume::fromBus(3), Volume::full);
        QCOMPARE(Volume::toMpv(600), 100.0);
        QCOMPARE(Volume::stepped(-3750, 1), -3375);
        QCOMPARE(Volume::stepped(-7400, -1), Volume::silence);
        QCOMPARE(Volume::stepped(-100, 2), Volume::full);
    }
};

QTEST_GUILESS_MAIN(TestVolume)
#include "tst_volume.moc"
