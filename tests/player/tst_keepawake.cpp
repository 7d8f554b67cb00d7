// When the screen must stay awake, against the scripted engine: the rule, and its settling.
#include "fakeengine.h"
#include "player/keepawake.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

class TestKeepAwake : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("a picture plays") << PlayStates::Playing << 240 << true;
        QTest::newRow("a picture waits for data") << PlayStates::Waiting << 240 << true;
        QTest::newRow("sound alone plays") << PlayStates::Playing << 0 << false;
        QTest::newRow("halted") << PlayStates::Paused << 240 << false;
        QTest::newRow("at the end") << PlayStates::Stopped << 240 << false;
        QTest::newRow("closed") << PlayStates::Closed << 0 << false;
    }
    void rule()
    {
        QFETCH(int, state);
        QFETCH(int, height);
        QTEST(KeepAwake::wanted(state, height), "wanted");
    }

    void followsTheEngineOnceSettled()
    {
        FakeEngine engine;
        engine.addMedia("/m/film.avi", {10.0, 320, 240});
        engine.addMedia("/m/song.mp3", {10.0, 0, 0});
        KeepAwake awake(engine);
        awake.setSettleTime(20ms);
        QSignalSpy spy(&awake, &KeepAwake::heldChanged);

        QVERIFY(engine.setFileName("/m/film.avi"));
        QTRY_VERIFY(awake.held());
        engine.Pause();
        QTRY_VERIFY(!awake.held());
        QCOMPARE(spy.size(), 2);

        // A halt undone before it settles changes nothing.
        engine.Play();
        QTRY_VERIFY(awake.held());
        engine.Pause();
        engine.Play();
        QTRY_VERIFY(!awake.settleTimer().isActive());
        QCOMPARE(spy.size(), 3);

        QVERIFY(engine.setFileName("/m/song.mp3"));
        QTRY_VERIFY(!awake.held());
        QCOMPARE(spy.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestKeepAwake)
#include "tst_keepawake.moc"
