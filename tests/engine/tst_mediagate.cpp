// The gate before the engine, over every kind of name a playlist, a drop or the bus can bring.
#include "engine/mediagate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestMediaGate : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // "@/name" stands for the test folder.
    QString inDir(QString name) const { return name.replace(QStringLiteral("@"), m_dir.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile film(m_dir.filePath(QStringLiteral("film.avi")));
        QVERIFY(film.open(QIODevice::WriteOnly) && film.write("RIFF") == 4);
        film.close();
        QVERIFY(QFile::link(film.fileName(), m_dir.filePath(QStringLiteral("link.avi"))));
        QVERIFY(
            QFile::link(QStringLiteral("/dev/zero"), m_dir.filePath(QStringLiteral("zero.avi"))));
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("fifo.avi"))), 0600), 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.avi")));
        for (const char* name : {"film.srt", "LOUD.SRT", "a,b:c=d --sub-files=x.ass"}) {
            QFile subtitle(m_dir.filePath(QLatin1String(name)));
            QVERIFY(subtitle.open(QIODevice::WriteOnly));
        }
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("fifo.srt"))), 0600), 0);
        for (const qint64 size : {MediaGate::MaxSubtitleBytes, MediaGate::MaxSubtitleBytes + 1}) {
            QFile subtitle(m_dir.filePath(QStringLiteral("%1.ass").arg(size)));
            QVERIFY(subtitle.open(QIODevice::WriteOnly) && subtitle.resize(size));
        }
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void admit_data()
    {
        QTest::addColumn<QString>("name");
        // The path the engine gets, or the start of the refusal.
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("refusal");
        const QString film = inDir(QStringLiteral("@/film.avi"));
        QTest::newRow("absolute") << film << film << QString();
        QTest::newRow("relative") << QStringLiteral("film.avi") << film << QString();
        QTest::newRow("cleaned") << inDir(QStringLiteral("@//x/../film.avi")) << film << QString();
        QTest::newRow("link to a file") << inDir(QStringLiteral("@/link.avi"))
                                        << inDir(QStringLiteral("@/link.avi")) << QString();
        QTest::newRow("file uri") << QUrl::fromLocalFile(film).toString() << film << QString();
        QTest::newRow("file uri on localhost")
            << QStringLiteral("file://localhost") + film << film << QString();
        // No path is that long; a name of megabytes is refused before it costs anything.
        const QString tooLong = QStringLiteral("Name too long");
        QTest::newRow("longer than a path")
            << QStringLiteral("/") + QString(5000, u'x') << QString() << tooLong;
        QTest::newRow("longer than a path once joined to the folder")
            << QString(4090, u'x') << QString() << tooLong;

        const QString notLocal = QStringLiteral("Not a local file");
        for (const char* uri :
             {"av://lavfi:sine=duration=1,ametadata=mode=print:file=/tmp/victim",
              "http://127.0.0.1:9/x.avi", "edl://%20%http://127.0.0.1:9/", "ffmpeg://http://x",
              "tcp://127.0.0.1:9", "udp://0.0.0.0:5004", "av://x11grab::0", "av://v4l2:/dev/video0",
              "fd://3", "fdclose://3", "HTTPS://example.org/a.mpg", "file://otherhost/film.avi"})
            QTest::newRow(uri) << QString::fromLatin1(uri) << QString() << notLocal;

        const QString notAName = QStringLiteral("Not a file name");
        // C0, DEL and C1 controls, each range at its edges; a NUL would cut the name short.
        for (const char16_t c : {0x0, 0x1f, 0x7f, 0x9f})
            QTest::addRow("U+%04X", c) << film + QChar(c) << QString() << notAName;
        // Their neighbours are a name's own, and so is a direction mark (told as U+FFFD).
        for (const char16_t c : {0x20, 0x7e, 0xa0, 0x202e})
            QTest::addRow("U+%04X", c)
                << film + QChar(c) << QString() << QStringLiteral("No such file");
        QTest::newRow("NUL in a uri")
            << QStringLiteral("file://") + film + QStringLiteral("%00.txt") << QString()
            << notAName;
        QTest::newRow("lone surrogate") << film + QChar(0xd800) << QString() << notAName;

        QTest::newRow("empty") << QString() << QString() << QStringLiteral("No file name given.");
        QTest::newRow("missing") << inDir(QStringLiteral("@/none.avi")) << QString()
                                 << QStringLiteral("No such file");
        // A name that merely holds "://" further on is a path like any other.
        QTest::newRow("scheme inside a path") << inDir(QStringLiteral("@/http://x.avi"))
                                              << QString() << QStringLiteral("No such file");
        QTest::newRow("folder") << inDir(QStringLiteral("@/folder.avi")) << QString()
                                << QStringLiteral("A folder, not a file");
        const QString notRegular = QStringLiteral("Not a regular file");
        QTest::newRow("fifo") << inDir(QStringLiteral("@/fifo.avi")) << QString() << notRegular;
        QTest::newRow("link to a device")
            << inDir(QStringLiteral("@/zero.avi")) << QString() << notRegular;
    }

    void admit()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, refusal);
        const MediaGate::Verdict verdict = MediaGate::admit(name);
        QCOMPARE(verdict.path, path);
        QVERIFY2(refusal.isEmpty() ? verdict.admitted() : verdict.refusal.startsWith(refusal),
                 qPrintable(verdict.refusal));
        // What the user reads is one line of visible characters.
        for (const QChar c : verdict.refusal)
            QVERIFY(c.isPrint());
    }

    void admitSubtitle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("refusal");
        const QString srt = inDir(QStringLiteral("@/film.srt"));
        QTest::newRow("subtitle") << srt << srt << QString();
        const QString loud = inDir(QStringLiteral("@/LOUD.SRT"));
        QTest::newRow("upper-case extension") << loud << loud << QString();
        // Passed whole, as one node: nothing in it is an option for mpv.
        const QString odd = inDir(QStringLiteral("@/a,b:c=d --sub-files=x.ass"));
        QTest::newRow("commas, colons, equals") << odd << odd << QString();
        QTest::newRow("not a subtitle") << inDir(QStringLiteral("@/film.avi")) << QString()
                                        << QStringLiteral("Not a subtitle file");
        QTest::newRow("fifo") << inDir(QStringLiteral("@/fifo.srt")) << QString()
                              << QStringLiteral("Not a regular file");
        const QString largest = inDir(QStringLiteral("@/%1.ass").arg(MediaGate::MaxSubtitleBytes));
        QTest::newRow("as large as subtitles go") << largest << largest << QString();
        QTest::newRow("larger than subtitles go")
            << inDir(QStringLiteral("@/%1.ass").arg(MediaGate::MaxSubtitleBytes + 1)) << QString()
            << QStringLiteral("Subtitle file too large");
        // mpv would make a subtitle of the text itself.
        QTest::newRow("memory") << QStringLiteral("memory://00:00:00,000 --> 9:00:00,000 x.srt")
                                << QString() << QStringLiteral("Not a local file");
    }

    void admitSubtitle()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, refusal);
        const MediaGate::Verdict verdict = MediaGate::admitSubtitle(name);
        QCOMPARE(verdict.path, path);
        QVERIFY2(refusal.isEmpty() ? verdict.admitted() : verdict.refusal.startsWith(refusal),
                 qPrintable(verdict.refusal));
    }
};

QTEST_GUILESS_MAIN(TestMediaGate)
#include "tst_mediagate.moc"
