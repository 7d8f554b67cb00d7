// The volume's scales: the bar's fill, the desktop's 0..1 and mpv's, against the engine's
// hundredths of a decibel, both ways where there is a way back.
#include "engine/volume.h"

#include <QTest>
#include <cmath>

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
        QVERIFY(std::abs(Volume::barFraction(volume) * 2400 - fill) < 1e-9);
        QVERIFY(std::abs(Volume::toBus(volume) - bus) < 1e-4);
        QCOMPARE(Volume::fromBus(Volume::toBus(volume)), volume);
        QVERIFY(std::abs(Volume::toMpv(volume) - mpv) < 1e-4);
    }

    void ends()
    {
        // The bar sends a fill past its end unchanged; the engine limits it.
        QCOMPARE(Volume::fromBar(3000, 2400), 1875);
        QCOMPARE(Volume::fromBar(100, 0), std::nullopt);
        QCOMPARE(Volume::fromBar(1e12, 1), std::nullopt);
        // Halves go to the even neighbour.
        QCOMPARE(Volume::fromBar(0.5, 7500), -7500);
        QCOMPARE(Volume::fromBar(1.5, 7500), -7498);
        QCOMPARE(Volume::fromBus(-1), Volume::silence);
        QCOMPARE(Volume::fromBus(3), Volume::full);
        QCOMPARE(Volume::toMpv(600), 100.0);
        // A step is 3.75 dB, and steps stay on the bar.
        QCOMPARE(Volume::stepped(-3750, 1), -3375);
        QCOMPARE(Volume::stepped(-7400, -1), Volume::silence);
        QCOMPARE(Volume::stepped(-100, 2), Volume::full);
    }
};

QTEST_GUILESS_MAIN(TestVolume)
#include "tst_volume.moc"
