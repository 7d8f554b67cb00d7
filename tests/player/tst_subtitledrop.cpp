// A drop on the picture through the playback owner, against the scripted engine: subtitle files
// go to the film that plays, or are refused with a word; the rest goes to the playlist.
#include "fakeengine.h"
#include "player/playbackcontroller.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestSubtitleDrop : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.srt"))); }

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
        PlaybackController playback(engine);
        if (!open.isEmpty())
            QVERIFY(playback.open("/m/" + open));
        engine.subtitleRefusal = engineSays;
        engine.calls.clear();
        QCOMPARE(playback.takeSubtitles(dropped), playlist);
        QCOMPARE(engine.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestSubtitleDrop)
#include "tst_subtitledrop.moc"
