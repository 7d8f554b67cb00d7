// The subtitle files a film finds beside itself: by name alone, with the file system's answer
// scripted, then against a real folder.
#include "engine/subtitleprobe.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestSubtitleProbe : public QObject
{
    Q_OBJECT

private slots:
    void beside_data()
    {
        QTest::addColumn<QString>("media");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("found");
        const QString film = QStringLiteral("/d/film.avi");
        QTest::newRow("nothing beside") << film << QStringList{"/d/film.avi"} << QStringList{};
        QTest::newRow("NAME.srt") << film << QStringList{"/d/film.srt"}
                                  << QStringList{"/d/film.srt"};
        QTest::newRow("extensions in their order")
            << film << QStringList{"/d/film.sub", "/d/film.vtt", "/d/film.ssa", "/d/film.srt"}
            << QStringList{"/d/film.srt", "/d/film.ssa", "/d/film.vtt", "/d/film.sub"};
        QTest::newRow("upper-case extension")
            << film << QStringList{"/d/film.ASS"} << QStringList{"/d/film.ASS"};
        QTest::newRow("mixed case is not asked for")
            << film << QStringList{"/d/film.Srt"} << QStringList{};
        QTest::newRow("the name's case counts")
            << film << QStringList{"/d/Film.srt"} << QStringList{};
        QTest::newRow("other names")
            << film << QStringList{"/d/other.srt", "/d/film2.srt", "/d/film.avi.srt", "/e/film.srt"}
            << QStringList{};
        QTest::newRow("languages, two letters before three")
            << film << QStringList{"/d/film.eng.srt", "/d/film.fr.srt", "/d/film.en.srt"}
            << QStringList{"/d/film.en.srt", "/d/film.fr.srt", "/d/film.eng.srt"};
        QTest::newRow("NAME.srt before languages")
            << film << QStringList{"/d/film.de.srt", "/d/film.srt"}
            << QStringList{"/d/film.srt", "/d/film.de.srt"};
        QTest::newRow("unknown language")
            << film << QStringList{"/d/film.xx.srt", "/d/film.english.srt"} << QStringList{};
        QTest::newRow("language in upper case")
            << film << QStringList{"/d/film.EN.srt"} << QStringList{};
        QTest::newRow("languages only with .srt")
            << film << QStringList{"/d/film.en.ass"} << QStringList{};
        QTest::newRow("dots in the name")
            << QStringLiteral("/d/my.film.mpg") << QStringList{"/d/my.srt", "/d/my.film.srt"}
            << QStringList{"/d/my.film.srt"};
        QTest::newRow("no extension") << QStringLiteral("/d/film") << QStringList{"/d/film.srt"}
                                      << QStringList{"/d/film.srt"};
        QTest::newRow("hidden film")
            << QStringLiteral("/d/.film") << QStringList{"/d/.srt", "/d/.film.srt"}
            << QStringList{"/d/.film.srt"};
        QTest::newRow("dot in the folder only")
            << QStringLiteral("/d.x/film") << QStringList{"/d.srt", "/d.x/film.srt"}
            << QStringList{"/d.x/film.srt"};
    }

    void beside()
    {
        QFETCH(QString, media);
        QFETCH(QStringList, files);
        QFETCH(QStringList, found);
        const QSet<QString> existing(files.begin(), files.end());
        int asked = 0;
        const QStringList got = SubtitleProbe::beside(media, [&](const QString& path) {
            ++asked;
            return existing.contains(path);
        });
        QCOMPARE(got, found);
        // One question per name the film's subtitles may have, whatever the folder holds.
        QVERIFY2(asked > 200 && asked < 300, qPrintable(QString::number(asked)));
    }

    void onlyRegularFilesAreTaken()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
        const auto write = [](const QString& name) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write("1\n") == 2;
        };
        QVERIFY(write(path("film.avi")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("film.srt")), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("film.ass")));
        QVERIFY(write(path("real.vtt")));
        QVERIFY(QFile::link(path("real.vtt"), path("film.vtt")));
        QVERIFY(QFile::link(path("gone.sub"), path("film.sub")));
        QVERIFY(write(path("film.ja.srt")));

        QCOMPARE(SubtitleProbe::beside(path("film.avi")),
                 (QStringList{path("film.vtt"), path("film.ja.srt")}));
    }
};

QTEST_GUILESS_MAIN(TestSubtitleProbe)
#include "tst_subtitleprobe.moc"
