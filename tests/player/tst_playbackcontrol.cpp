// The play button, the end of a file, the seek fill and the windowed settings.
#include "fakeengine.h"
#include "player/playbackcontrol.h"
#include "player/startup.h"
#include "playlist/orvformat.h"
#include "window/playbackdisplay.h"

#include <QTest>

class TestPlaybackControl : public QObject
{
    Q_OBJECT
private slots:
    void buttonFollowsPlayState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("timer");
        QTest::newRow("playing") << PlayStates::Playing << "g"
                                 << "Pause" << true;
        QTest::newRow("paused") << PlayStates::Paused << "8"
                                << "Play" << false;
        QTest::newRow("stopped") << PlayStates::Stopped << "8"
                                 << "Play" << false;
        QTest::newRow("waiting") << PlayStates::Waiting << "8"
                                 << "Play" << false;
        QTest::newRow("closed") << PlayStates::Closed << "8"
                                << "Play" << false;
    }
    void buttonFollowsPlayState()
    {
        QFETCH(int, state);
        const Playback::PlayButton b = Playback::playButtonFor(state);
        QTEST(b.caption, "caption");
        QTEST(b.toolTip, "tip");
        QTEST(b.timerOn, "timer");
    }

    void endOfFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("position");
        QTest::addColumn<bool>("end");
        QTest::newRow("at end") << "/a.avi" << 2.5 << 2.5 << true;
        QTest::newRow("just short") << "/a.avi" << 2.5 << 2.4999 << false;
        QTest::newRow("nothing open") << "" << 0.0 << 0.0 << false;
        QTest::newRow("refused, zero length") << "/a.avi" << 0.0 << 0.0 << false;
        QTest::newRow("start") << "/a.avi" << 2.5 << 0.0 << false;
    }
    void endOfFile()
    {
        QFETCH(QString, file);
        QFETCH(double, duration);
        QFETCH(double, position);
        QTEST(Playback::reachedEnd(file, duration, position), "end");
    }

    void playToggle()
    {
        FakeEngine engine;
        Playback::togglePlay(engine); // nothing open: no length
        QVERIFY(engine.calls.isEmpty());

        QVERIFY(engine.setFileName(QStringLiteral("/a.avi")));
        engine.calls.clear();
        Playback::togglePlay(engine);
        QCOMPARE(engine.calls, QStringList{"Pause"});
        Playback::togglePlay(engine);
        QCOMPARE(engine.calls, (QStringList{"Pause", "Play"}));
    }

    void seekFill_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("width");
        QTest::newRow("half") << 1.0 << 2.0 << 2000;
        QTest::newRow("end") << 2.0 << 2.0 << 4000;
        QTest::newRow("start") << 0.0 << 2.0 << 0;
        QTest::newRow("zero length") << 0.0 << 0.0 << -1;
        QTest::newRow("past the end") << 3.0 << 2.0 << 4000;
    }
    void seekFill()
    {
        QFETCH(double, position);
        QFETCH(double, duration);
        QFETCH(int, width);
        const auto fill = Playback::seekFillWidth(position, duration, 4000);
        QCOMPARE(fill.value_or(-1), width);
    }

    void windowedModeOnlyOutsideFullScreen()
    {
        FakeEngine engine;
        engine.setShowControls(true);
        engine.setDisplaySize(DisplaySizes::FullScreen);
        QVERIFY(!Playback::applyWindowedMode(engine));
        QVERIFY(engine.ShowControls());

        engine.setDisplaySize(DisplaySizes::Fitted);
        engine.setShowControls(true);
        QVERIFY(Playback::applyWindowedMode(engine));
        QVERIFY(!engine.ShowControls());
        QCOMPARE(engine.DisplaySize(), DisplaySizes::Fitted);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("playlist");
        QTest::newRow("plain") << QStringList{"/m/a.avi"} << "/m/a.avi" << false;
        QTest::newRow("quoted blank")
            << QStringList{"\"/m/my film.avi\""} << "/m/my film.avi" << false;
        QTest::newRow("split by the shell")
            << QStringList{"/m/my", "film.avi"} << "/m/my film.avi" << false;
        QTest::newRow("playlist") << QStringList{"/m/list.orv"} << "/m/list.orv" << true;
        QTest::newRow("upper-case playlist is media")
            << QStringList{"/m/LIST.ORV"} << "/m/LIST.ORV" << false;
        QTest::newRow("mpeg") << QStringList{"/m/a.mpeg"} << "/m/a.mpeg" << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, path);
        QCOMPARE(Startup::MPathFrom(args), path);
        QTEST(OrvFormat::isPlaylistPath(path), "playlist");
    }
};

QTEST_GUILESS_MAIN(TestPlaybackControl)
#include "tst_playbackcontrol.moc"
