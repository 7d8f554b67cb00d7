// The playback owner against the scripted engine: every jump reported once, whoever asked; the
// volume's one writer, its steps and mute; the glyphs' guard; the end of a file stepping on.
#include "fakeengine.h"
#include "player/playbackcontroller.h"

#include <QSignalSpy>
#include <QTest>

class TestPlaybackController : public QObject
{
    Q_OBJECT

private slots:
    void everyJumpIsReportedOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<double>("fill");
        QTest::addColumn<double>("bar");
        QTest::addColumn<QVariantList>("jumps");
        QTest::newRow("to a time") << "seek" << 1.5 << 0.0 << QVariantList{1.5};
        QTest::newRow("along the bar") << "along" << 50.0 << 100.0 << QVariantList{2.0};
        QTest::newRow("a bar of no width") << "along" << 50.0 << 0.0 << QVariantList{};
        QTest::newRow("by, past the end") << "by" << 60.0 << 0.0 << QVariantList{4.0};
        QTest::newRow("by, before the start") << "by" << -5.0 << 0.0 << QVariantList{0.0};
    }
    void everyJumpIsReportedOnce()
    {
        QFETCH(QString, how);
        QFETCH(double, fill);
        QFETCH(double, bar);
        QFETCH(QVariantList, jumps);
        FakeEngine engine;
        engine.addMedia("/m/a.avi", {4.0, 320, 240});
        QVERIFY(engine.setFileName("/m/a.avi"));
        PlaybackController playback(engine);
        QSignalSpy spy(&playback, &PlaybackController::positionJumped);
        if (how == "seek")
            playback.seek(fill);
        else if (how == "by")
            playback.seekBy(fill);
        else
            playback.seekAlong(fill, bar);
        QVariantList seen;
        for (const QVariantList& args : spy)
            seen << args.first();
        QCOMPARE(seen, jumps);
        if (!jumps.isEmpty())
            QCOMPARE(engine.CurrentPosition(), jumps.first().toDouble());
    }

    void volumeIsSetAndReported()
    {
        FakeEngine engine;
        PlaybackController playback(engine);
        QSignalSpy spy(&playback, &PlaybackController::volumeChanged);
        playback.setVolume(-3750);
        playback.setVolume(600); // the engine keeps it at full volume
        QCOMPARE(engine.calls, (QStringList{"setVolume:-3750", "setVolume:600"}));
        QCOMPARE(spy, (QList<QVariantList>{{-3750}, {0}}));

        // Muted, the bar shows silence until a step brings sound back.
        spy.clear();
        playback.toggleMute();
        playback.stepVolume(-1);
        QVERIFY(!engine.Mute());
        QCOMPARE(spy, (QList<QVariantList>{{-7500}, {-375}}));
    }

    void glyphsStepOnlyPastOneEntry_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("steps");
        QTest::newRow("empty") << "0" << 0;
        QTest::newRow("one") << "1" << 0;
        QTest::newRow("two") << "2" << 2;
        QTest::newRow("no number") << "" << 0;
    }
    void glyphsStepOnlyPastOneEntry()
    {
        QFETCH(QString, caption);
        QFETCH(int, steps);
        FakeEngine engine;
        PlaybackController playback(engine);
        int taken = 0;
        PlaybackController::Playlist list;
        list.next = list.previous = [&] { ++taken; };
        list.countCaption = [&] { return caption; };
        playback.setPlaylist(list);
        playback.stepNext();
        playback.stepPrevious();
        QCOMPARE(taken, steps);
    }

    void theEndStepsOnOnceTheEngineHasReported()
    {
        FakeEngine engine;
        engine.addMedia("/m/a.avi", {2.0, 320, 240});
        PlaybackController playback(engine);
        int nexts = 0;
        PlaybackController::Playlist list;
        list.next = [&] { ++nexts; };
        playback.setPlaylist(list);
        QVERIFY(engine.setFileName("/m/a.avi"));
        QVERIFY(playback.Timerscroll().isActive());
        engine.reachEnd();
        QVERIFY(!playback.Timerscroll().isActive());
        QCOMPARE(nexts, 0);
        QTRY_COMPARE(nexts, 1);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackController)
#include "tst_playbackcontroller.moc"
