// The road of a file with the real engine and real clips: from the command line through the
// playlist's timer into the engine, the progress fill, and on to the next entry at the end.
#include "controls/screentwips.h"
#include "engine/enginetest.h"
#include "engine/mpv/mpvengine.h"
#include "engine/mpv/mpvview.h"
#include "player/formvideo.h"
#include "playlist/playlistwindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRoad : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    std::unique_ptr<FormVideo> makeWindow()
    {
        const QString base = m_dir.filePath(QString::number(++m_serial));
        QDir().mkpath(base);
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        return std::make_unique<FormVideo>(
            std::make_unique<MpvEngine>(options),
            FormVideo::Environment{base + "/orvella.lock", base + "/data"});
    }

    static QString clip(const char* name) { return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name; }

private slots:
    void oneFileFromTheCommandLineLoops()
    {
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QSignalSpy opened(&engine, &MediaEngine::OpenStateChange);
        QVERIFY(window->load({clip("clip.avi")}));
        Playlist& playlist = window->playlistWindow().playlist();
        QCOMPARE(playlist.count(), 1);
        QCOMPARE(engine.FileName(), QString());

        QTRY_COMPARE_WITH_TIMEOUT(engine.FileName(), clip("clip.avi"), 10000);
        const QRect r = engine.rect();
        QCOMPARE(engine.toolTip(),
                 QStringLiteral("Orvella: clip.avi %1x%2").arg(r.width() - 8).arg(r.height() - 54));
        QCOMPARE(window->VideoWidth, qRound(160 * twipsPerPixel(window.get()).x));
        QCOMPARE(window->VideoHeight, qRound(120 * twipsPerPixel(window.get()).y));

        auto* fill = window->findChild<QWidget*>("Shapescroll");
        QTRY_VERIFY_WITH_TIMEOUT(fill->width() > 0, 10000);

        // At its end the one entry opens again.
        const qsizetype opensBefore = opened.count();
        QTRY_VERIFY_WITH_TIMEOUT(opened.count() > opensBefore, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 10000);
        QCOMPARE(engine.FileName(), clip("clip.avi"));
        QVERIFY(engine.CurrentPosition() < engine.Duration());
    }

    void threeEntriesPlayInTurnAndWrap()
    {
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QVERIFY(window->load({}));
        QStringList played;
        connect(&engine, &MediaEngine::PlayStateChange, this, [&](int, int now) {
            if (now == PlayStates::Playing &&
                (played.isEmpty() || played.last() != engine.FileName()))
                played << engine.FileName();
        });
        Playlist& playlist = window->playlistWindow().playlist();
        playlist.append({{clip("clip.mpg"), "clip.mpg"},
                         {clip("clip.wmv"), "clip.wmv"},
                         {clip("sound.mp3"), "sound.mp3"}});
        playlist.Go();
        QTRY_VERIFY_WITH_TIMEOUT(played.size() >= 4, 30000);
        QCOMPARE(played.mid(0, 4), (QStringList{clip("clip.mpg"), clip("clip.wmv"),
                                                clip("sound.mp3"), clip("clip.mpg")}));
    }

    void seekBarHaltsSeeksAndResumes()
    {
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QVERIFY(window->load({clip("clip.avi")}));
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 10000);
        auto* bar = window->findChild<QWidget*>("Position");
        const double length = engine.Duration();
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2));
        QTRY_VERIFY_WITH_TIMEOUT(engine.PlayState() != PlayStates::Playing, 5000);
        QTRY_VERIFY(qAbs(engine.CurrentPosition() - length / 2) < 0.1);
        QTest::mouseMove(bar, QPoint(bar->width() * 3 / 4, 2));
        QTRY_VERIFY(qAbs(engine.CurrentPosition() - length * 3 / 4) < 0.1);
        QVERIFY(engine.PlayState() != PlayStates::Playing);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, 2));
        QTRY_COMPARE_WITH_TIMEOUT(engine.PlayState(), PlayStates::Playing, 5000);
    }

    void entryChangedWhilePlayingGoesOnToTheNext_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("deleted");
        // Longer than what mpv reads ahead: cutting the file cuts its play short.
        QTest::newRow("cut short") << "long.mpg" << false;
        // The open file plays on to its end.
        QTest::newRow("deleted") << "clip.mpg" << true;
    }

    void entryChangedWhilePlayingGoesOnToTheNext()
    {
        QFETCH(QString, source);
        QFETCH(bool, deleted);
        const QString changed = m_dir.filePath("changed.mpg");
        QFile::remove(changed);
        QVERIFY(QFile::copy(clip(source.toLatin1().constData()), changed));
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QVERIFY(window->load({}));
        Playlist& playlist = window->playlistWindow().playlist();
        playlist.append({{changed, "changed.mpg"}, {clip("clip.avi"), "clip.avi"}});
        playlist.Go();
        QTRY_VERIFY_WITH_TIMEOUT(engine.FileName() == changed && engine.CurrentPosition() > 0.3,
                                 10000);
        const double length = engine.Duration();

        QVERIFY(deleted ? QFile::remove(changed) : QFile(changed).resize(300));
        QElapsedTimer sinceChange;
        sinceChange.start();
        QTRY_VERIFY_WITH_TIMEOUT(engine.FileName() == clip("clip.avi") &&
                                     engine.PlayState() == PlayStates::Playing,
                                 15000);
        qInfo("next entry playing %lld ms after the change", sinceChange.elapsed());
        if (!deleted)
            QVERIFY(sinceChange.elapsed() < (length - 1) * 1000);
        QCOMPARE(playlist.CurrentIndex(), 2);
    }

    void droppedSubtitleShowsOnTheFilm()
    {
        using enginetest::brightPixels;
        const QString film = m_dir.filePath("dropped-on.avi");
        const QString subtitle = m_dir.filePath("talk.srt");
        QVERIFY(QFile::link(clip("plain.avi"), film));
        QVERIFY(enginetest::writeSubtitle(subtitle, "DROPPED"));
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QVERIFY(window->load({film}));
        QTRY_VERIFY_WITH_TIMEOUT(engine.FileName() == film && engine.CurrentPosition() > 0.3,
                                 10000);
        engine.Pause();
        const auto* view = qobject_cast<MpvView*>(engine.view());
        const auto middle = [view] {
            const QImage picture = view->grabFramebuffer();
            return qGray(picture.pixel(picture.width() / 2, picture.height() / 2));
        };
        QTRY_VERIFY_WITH_TIMEOUT(middle() > 40, 10000);
        QCOMPARE(brightPixels(view->grabFramebuffer()), 0);

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(subtitle)});
        // Qt hands a drop to the widget that took the drag in.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &drop);
        QTRY_VERIFY_WITH_TIMEOUT(brightPixels(view->grabFramebuffer(), 0.75, 1) > 20, 10000);
        QCOMPARE(window->playlistWindow().playlist().paths(), QStringList{film});
    }

    void unplayableEntryStopsThere()
    {
        const QString junk = m_dir.filePath("junk.avi");
        {
            QFile f(junk);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, '\x5a'));
        }
        auto window = makeWindow();
        MediaEngine& engine = window->MediaPlayer1();
        QVERIFY(window->load({}));
        Playlist& playlist = window->playlistWindow().playlist();
        playlist.append({{junk, "junk.avi"}, {m_dir.filePath("missing.avi"), "missing.avi"}});
        playlist.Go();
        QTRY_COMPARE_WITH_TIMEOUT(playlist.CurrentIndex(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!playlist.startupTimer().isActive(), 10000);
        QTest::qWait(1000);
        QCOMPARE(playlist.CurrentIndex(), 1);
        QCOMPARE(engine.FileName(), QString());
        QVERIFY(engine.PlayState() != PlayStates::Playing);
    }
};

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    TestRoad test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_road.moc"
