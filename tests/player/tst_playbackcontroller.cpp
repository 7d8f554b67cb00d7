// The playback owner against the scripted engine: every jump reported once, where the engine
// says it is; the volume's one writer; the glyphs' guard; the end of a file stepping on; opens
// and their refusals; subtitles dropped on the picture. Its rules, one row each: the play
// button, the end of a file, the seek fill, the windowed settings, the command line.
#include "fakeengine.h"
#include "player/playbackcontrol.h"
#include "player/playbackcontroller.h"
#include "player/startup.h"
#include "window/playbackdisplay.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPlaybackController : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.srt"))); }

    void everyJumpIsReportedOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<double>("fill");
        QTest::addColumn<double>("bar");
        QTest::addColumn<QVariantList>("jumps");
        QTest::newRow("to a time") << "seek" << 1.5 << 0.0 << QVariantList{1.5};
        QTest::newRow("to a time the engine corrects") << "seek" << 9.0 << 0.0 << QVariantList{4.0};
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
        Playlist list;
        PlaybackController playback(engine, list);
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
        Playlist list;
        PlaybackController playback(engine, list);
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

    void glyphsStepOnlyPastTheShownCount_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("opens");
        QTest::newRow("one") << 1 << true << 0;
        QTest::newRow("two") << 2 << true << 2;
        QTest::newRow("two, one shown") << 2 << false << 0;
    }
    void glyphsStepOnlyPastTheShownCount()
    {
        QFETCH(int, entries);
        QFETCH(bool, shown);
        FakeEngine engine;
        Playlist list;
        PlaybackController playback(engine, list);
        list.append(QStringLiteral("/m/a.avi"), QString());
        list.refreshCount();
        if (entries > 1)
            list.append(QStringLiteral("/m/b.avi"), QString());
        if (shown)
            list.refreshCount();
        playback.stepNext();
        playback.stepPrevious();
        QTEST(static_cast<int>(engine.opened.size()), "opens");
    }

    void theEndStepsOnOnceTheEngineHasReported()
    {
        FakeEngine engine;
        engine.addMedia("/m/a.avi", {2.0, 320, 240});
        Playlist list;
        PlaybackController playback(engine, list);
        list.append(QStringLiteral("/m/b.avi"), QString());
        QVERIFY(engine.setFileName("/m/a.avi"));
        QVERIFY(playback.progressTimer().isActive());
        engine.reachEnd();
        QVERIFY(!playback.progressTimer().isActive());
        QCOMPARE(engine.FileName(), QStringLiteral("/m/a.avi"));
        QTRY_COMPARE(engine.FileName(), QStringLiteral("/m/b.avi"));
    }

    void aSupersededOpenTellsNothing()
    {
        FakeEngine engine;
        Playlist list;
        PlaybackController playback(engine, list);
        engine.superseded = true;
        QVERIFY(!playback.openEntry("/m/a.avi"));
        QVERIFY(!engine.calls.join(u' ').contains("showMessage"));
    }

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
        const PlayRules::PlayButton b = PlayRules::playButtonFor(state);
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
        QTEST(PlayRules::reachedEnd(file, duration, position), "end");
    }

    void playToggle()
    {
        FakeEngine engine;
        PlayRules::togglePlay(engine); // nothing open: no length
        QVERIFY(engine.calls.isEmpty());

        QVERIFY(engine.setFileName(QStringLiteral("/a.avi")));
        engine.calls.clear();
        PlayRules::togglePlay(engine);
        QCOMPARE(engine.calls, QStringList{"Pause"});
        PlayRules::togglePlay(engine);
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
        const auto fill = PlaybackDisplay::seekFillWidth(position, duration, 4000);
        QCOMPARE(fill.value_or(-1), width);
    }

    void windowedModeOnlyOutsideFullScreen()
    {
        FakeEngine engine;
        engine.setShowControls(true);
        engine.setDisplaySize(DisplaySizes::FullScreen);
        QVERIFY(!PlaybackDisplay::applyWindowedMode(engine));
        QVERIFY(engine.ShowControls());

        engine.setDisplaySize(DisplaySizes::Fitted);
        engine.setShowControls(true);
        QVERIFY(PlaybackDisplay::applyWindowedMode(engine));
        QVERIFY(!engine.ShowControls());
        QCOMPARE(engine.DisplaySize(), DisplaySizes::Fitted);
    }

    // Whether the path is a playlist is the mime type's test; here only the joining.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringList{"/m/a.avi"} << "/m/a.avi";
        QTest::newRow("quoted blank") << QStringList{"\"/m/my film.avi\""} << "/m/my film.avi";
        QTest::newRow("split by the shell") << QStringList{"/m/my", "film.avi"} << "/m/my film.avi";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QTEST(Startup::MPathFrom(args), "path");
    }

    void takeSubtitles_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("engineSays");
        QTest::addColumn<QStringList>("playlist");
        QTest::addColumn<QStringList>("calls");
        const QString noFilm("showMessage:No film is playing to show the subtitle file: ");
        QTest::newRow("media only") << "film" << QStringList{"/m/b.avi", "/m/c.mpg"} << QString()
                                    << QStringList{"/m/b.avi", "/m/c.mpg"} << QStringList{};
        QTest::newRow("subtitle on the film")
            << "film" << QStringList{"/m/x.srt"} << QString() << QStringList{}
            << QStringList{"addSubtitle:/m/x.srt"};
        QTest::newRow("several, any case")
            << "film" << QStringList{"/m/x.SRT", "/m/y.en.vtt", "/m/z.Ass"} << QString()
            << QStringList{}
            << QStringList{"addSubtitle:/m/x.SRT", "addSubtitle:/m/y.en.vtt",
                           "addSubtitle:/m/z.Ass"};
        QTest::newRow("the engine refuses")
            << "film" << QStringList{"/m/gone.srt"} << "No such file: /m/gone.srt" << QStringList{}
            << QStringList{"addSubtitle:/m/gone.srt", "showMessage:No such file: /m/gone.srt"};
        QTest::newRow("nothing open") << QString() << QStringList{"/m/x.srt"} << QString()
                                      << QStringList{} << QStringList{noFilm + "x.srt"};
        QTest::newRow("the start-up picture") << "still" << QStringList{"/m/x.ssa"} << QString()
                                              << QStringList{} << QStringList{noFilm + "x.ssa"};
        QTest::newRow("a song") << "sound" << QStringList{"/m/x.sub"} << QString() << QStringList{}
                                << QStringList{noFilm + "x.sub"};
        QTest::newRow("with other files")
            << "film" << QStringList{"/m/b.srt", "/m/b.avi"} << QString() << QStringList{"/m/b.avi"}
            << QStringList{"showMessage:Dropped with other files, a subtitle file is left out: "
                           "b.srt"};
        const QString folder = m_dir.filePath("folder.srt");
        QTest::newRow("folder named like a subtitle")
            << "film" << QStringList{folder} << QString() << QStringList{folder} << QStringList{};
        QTest::newRow("a name to show safely")
            << QString() << QStringList{"/m/\u202eevil\n.srt"} << QString() << QStringList{}
            << QStringList{noFilm + "\ufffdevil\ufffd.srt"};
    }

    void takeSubtitles()
    {
        QFETCH(QString, open);
        QFETCH(QStringList, dropped);
        QFETCH(QString, engineSays);
        QFETCH(QStringList, playlist);
        QFETCH(QStringList, calls);
        FakeEngine engine;
        engine.addMedia("/m/film", {4.0, 320, 240});
        engine.addMedia("/m/still", {0.0, 320, 240});
        engine.addMedia("/m/sound", {4.0, 0, 0});
        Playlist list;
        PlaybackController playback(engine, list);
        if (!open.isEmpty())
            QVERIFY(playback.open("/m/" + open));
        engine.subtitleRefusal = engineSays;
        engine.calls.clear();
        QCOMPARE(playback.takeSubtitles(dropped), playlist);
        QCOMPARE(engine.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackController)
#include "tst_playbackcontroller.moc"
