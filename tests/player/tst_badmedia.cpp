// Broken files in the playlist with the real engine: each is played or refused, never a crash,
// and the good entry after it plays: by itself after a played one, after "next" after a
// refused one, which stops the list where it is.
#include "engine/mpvengine.h"
#include "player/formvideo.h"
#include "playlist/formpls.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

class TestBadMedia : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }

    static QByteArray firstHalf(const char* name)
    {
        QFile file(clip(name));
        return file.open(QIODevice::ReadOnly) ? file.read(file.size() / 2) : QByteArray();
    }

private slots:
    void brokenEntryThenGoodOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plays");
        QTest::newRow("zero bytes") << "zero.avi" << QByteArray() << false;
        QTest::newRow("cut in half") << "half.mpg" << firstHalf("clip.mpg") << true;
        QTest::newRow("text as avi") << "text.avi" << QByteArray("Not a film.\r\n") << false;
    }

    void brokenEntryThenGoodOne()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        const QString bad = m_dir.filePath(name);
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        const QString base = m_dir.filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(base));
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        FormVideo window(std::make_unique<MpvEngine>(options),
                         {base + "/orvella.lock", base + "/data"});
        MediaEngine& engine = window.MediaPlayer1();
        QVERIFY(window.load({}));
        // What each open after the start-up picture came to: the file, or "" when refused.
        QStringList outcomes;
        connect(&engine, &MediaEngine::OpenStateChange, this, [&](int from, int to) {
            if (from == OpenStates::Opening)
                outcomes << (to == OpenStates::Open ? engine.FileName() : QString());
        });
        Playlist& playlist = window.playlistWindow().playlist();
        playlist.append({{bad, name}, {clip("clip.wmv"), "clip.wmv"}});
        playlist.Go();

        QTRY_VERIFY_WITH_TIMEOUT(!outcomes.isEmpty(), 10000);
        QCOMPARE(outcomes.first(), plays ? bad : QString());
        if (!plays) {
            QTest::qWait(500);
            QCOMPARE(playlist.CurrentIndex(), 1);
            QCOMPARE(outcomes.size(), 1);
            window.playlistWindow().PlayNext();
        }
        QTRY_COMPARE_WITH_TIMEOUT(engine.FileName(), clip("clip.wmv"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 5000);
        QCOMPARE(playlist.CurrentIndex(), 2);
    }
};

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    TestBadMedia test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_badmedia.moc"
