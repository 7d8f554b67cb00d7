// The keys and the wheel with the real engine on real clips, in the main window and in full
// screen: each row presses one key (or turns the wheel one notch) where the window system
// sends it, and reads back what the engine and the volume bar then hold.
#include "controls/commondialog.h"
#include "engine/enginetest.h"
#include "engine/mpv/engineoptionsdialog.h"
#include "engine/mpv/mpvengine.h"
#include "engine/mpv/mpvview.h"
#include "engine/volume.h"
#include "ownxserver.h"
#include "player/formvideo.h"
#include "player/mpvkeys.h"
#include "playlist/playlistwindow.h"
#include "scripteddialogs.h"
#include "window/bars.h"
#include "window/playeractions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>

namespace {
constexpr double startAt = 10; // seconds into long.mpg
constexpr int startVolume = -3750;
const QStringList entries{"clip.avi", "long.mpg", "clip.mpg"};

QString clip(const QString& name)
{
    return QStringLiteral(ORVELLA_MEDIA_DIR "/") + name;
}

void turnWheel(QWidget* widget, int notches)
{
    const QPointF at = widget->rect().center();
    QWheelEvent turn(at, widget->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &turn);
}

// 6 s with chapters at 0, 2 and 4 s, audio in English and French, one subtitle track.
bool makeTracksClip(const QString& dir)
{
    QFile chapters(dir + "/chapters.txt");
    QByteArray text = ";FFMETADATA1\n";
    for (int i = 0; i < 3; ++i)
        text += QByteArray("[CHAPTER]\nTIMEBASE=1/1000\nSTART=") + QByteArray::number(i * 2000) +
                "\nEND=" + QByteArray::number(i * 2000 + 2000) + "\n";
    if (!chapters.open(QIODevice::WriteOnly) || chapters.write(text) != text.size() ||
        !enginetest::writeSubtitle(dir + "/talk.srt", "TALK"))
        return false;
    chapters.close();
    const QString lavfi = QStringLiteral("lavfi");
    return QProcess::execute("ffmpeg", {"-hide_banner",
                                        "-loglevel",
                                        "error",
                                        "-y",
                                        "-f",
                                        lavfi,
                                        "-i",
                                        "testsrc=size=160x120:rate=25:duration=6",
                                        "-f",
                                        lavfi,
                                        "-i",
                                        "sine=d=6",
                                        "-f",
                                        lavfi,
                                        "-i",
                                        "sine=f=660:d=6",
                                        "-i",
                                        dir + "/talk.srt",
                                        "-i",
                                        dir + "/chapters.txt",
                                        "-map",
                                        "0",
                                        "-map",
                                        "1",
                                        "-map",
                                        "2",
                                        "-map",
                                        "3",
                                        "-map_chapters",
                                        "4",
                                        "-c:v",
                                        "mpeg4",
                                        "-c:a",
                                        "mp2",
                                        "-c:s",
                                        "srt",
                                        "-metadata:s:a:0",
                                        "language=eng",
                                        "-metadata:s:a:1",
                                        "language=fre",
                                        dir + "/tracks.mkv"}) == 0;
}
} // namespace

class TestKeys : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;
    std::unique_ptr<FormVideo> m_window;
    ScriptedDialogs* m_dialogs = nullptr;

    // The middle entry of three, halted at startAt, at startVolume.
    void makeScene()
    {
        const QString base = m_dir.filePath(QString::number(++m_serial));
        QDir().mkpath(base);
        MpvEngine::Options options;
        options.audioOutput = QStringLiteral("null");
        m_window = std::make_unique<FormVideo>(
            std::make_unique<MpvEngine>(options),
            FormVideo::Environment{base + "/orvella.lock", base + "/data"});
        QVERIFY(m_window->load({}));
        auto dialogs = std::make_unique<ScriptedDialogs>();
        m_dialogs = dialogs.get();
        m_window->playlistWindow().commonDialog().setDriver(std::move(dialogs));
        Playlist& playlist = m_window->playlistWindow().playlist();
        for (const QString& name : entries)
            playlist.append(clip(name), name);
        playlist.PlayNext();
        playlist.PlayNext();
        MediaEngine& engine = m_window->MediaPlayer1();
        QCOMPARE(engine.FileName(), clip("long.mpg"));
        engine.Pause();
        engine.setCurrentPosition(startAt);
        engine.setVolume(startVolume);
        QTRY_VERIFY_WITH_TIMEOUT(engine.PlayState() == PlayStates::Paused &&
                                     qAbs(mpvPosition() - startAt) < 0.05,
                                 10000);
    }

    MpvEngine& mpv() const { return static_cast<MpvEngine&>(m_window->MediaPlayer1()); }
    // Where mpv itself is, past any seek still on its way.
    double mpvPosition() const { return mpv().mpvValue("time-pos").toDouble(); }
    VolumeBar* volumeBar() const { return m_window->findChild<VolumeBar*>("Volume"); }
    int barVolume() const
    {
        return *Volume::fromBar(volumeBar()->fillWidth(), volumeBar()->barWidth());
    }

    // The made clip in place of long.mpg, halted 3 s in (the second chapter), with the first
    // audio and subtitle tracks.
    void openTracksClip()
    {
        MediaEngine& engine = m_window->MediaPlayer1();
        m_window->playlist().playNow(m_dir.filePath("tracks.mkv"));
        QTRY_COMPARE(engine.FileName(), m_dir.filePath("tracks.mkv"));
        engine.Pause();
        engine.setCurrentPosition(3);
        engine.setTuning("aid", 1);
        engine.setTuning("sid", 1);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(mpvPosition() - 3) < 0.05 && mpv().mpvValue("aid") == 1 &&
                                     mpv().mpvValue("sid") == 1 && mpv().mpvValue("chapter") == 1,
                                 10000);
    }

    QStringList pictures() const
    {
        return QDir(m_dir.filePath("pictures")).entryList({"*.png"}, QDir::Files);
    }

private slots:
    void initTestCase()
    {
        MpvEngine::prepareApplication();
        QVERIFY(makeTracksClip(m_dir.path()));
        qputenv("XDG_PICTURES_DIR", m_dir.filePath("pictures").toUtf8());
    }

    void keys_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<QString>("effect");
        QTest::addColumn<double>("amount");
        for (const bool full : {false, true}) {
            // Named by the key, or by the widget the wheel turns on.
            const auto row = [full](const char* key) -> QTestData& {
                return QTest::addRow("%s %s", full ? "full screen:" : "window:", key) << full;
            };
            row("Space") << "play" << 0.0;
            row("Left") << "seek" << -5.0;
            row("Right") << "seek" << 5.0;
            row("Shift+Left") << "seek" << -60.0;
            row("Shift+Right") << "seek" << 60.0;
            row("Up") << "volume" << 1.0;
            row("Down") << "volume" << -1.0;
            row("wheel on engineView") << "volume" << 1.0;
            if (!full) // out of sight in full screen
                row("wheel on Volume") << "volume" << -1.0;
            row("M") << "mute" << 0.0;
            row("F") << "full screen" << 0.0;
            row("F11") << "full screen" << 0.0;
            row("PgDown") << "entry" << 1.0;
            row("PgUp") << "entry" << -1.0;
            row("Ctrl+O") << "open" << 0.0;
            row("Ctrl+Q") << "exit" << 0.0;
            row("Menu") << "menu" << 0.0;
            row("Shift+F10") << "menu" << 0.0;
            row("[") << "speed" << 0.9;
            row("]") << "speed" << 1.1;
            row("{") << "speed" << 0.5;
            row("}") << "speed" << 2.0;
            row("Backspace") << "speed" << 1.0;
            row(".") << "frame" << 1.0;
            row(",") << "frame" << -1.0;
            row("S") << "screenshot" << 0.0;
            row("L") << "ab-loop-a" << startAt;
            row("Shift+L") << "loop-file" << 0.0;
            row("!") << "chapter" << 0.0;
            row("@") << "chapter" << 2.0;
            row("Z") << "sub-delay" << -0.1;
            row("X") << "sub-delay" << 0.1;
            row("Ctrl+-") << "audio-delay" << -0.1;
            row("Ctrl++") << "audio-delay" << 0.1;
            row("V") << "sub-visibility" << 0.0;
            row("J") << "sid" << 0.0;
            row("#") << "aid" << 2.0;
            row("I") << "stats" << 0.0;
            row("Shift+T") << "on top" << 0.0;
            row("D") << "deinterlace" << 1.0;
            row("Shift+A") << "video-aspect-override" << 4.0 / 3.0;
            row("double click") << "full screen" << 0.0;
            row("Media Play") << "play" << 0.0;
            row("Media Next") << "entry" << 1.0;
            row("Volume Mute") << "mute" << 0.0;
            row("Volume Up") << "volume" << 1.0;
        }
    }

    void keys()
    {
        QFETCH(bool, fullScreen);
        QFETCH(QString, effect);
        QFETCH(double, amount);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).section(": ", 1);
        const QKeyCombination key = QKeySequence(name)[0];
        makeScene();
        MediaEngine& engine = m_window->MediaPlayer1();
        QWidget* picture = engine.view();
        if (fullScreen)
            m_window->actions().mnuFullscreen->trigger();
        // Asked before the window is mapped, the focus can be lost: asked again.
        bool active = false;
        for (int attempt = 0; attempt < 3 && !active; ++attempt) {
            picture->window()->activateWindow();
            active = QTest::qWaitForWindowActive(picture->window(), 3000);
        }
        QVERIFY(active);
        QSignalSpy unloaded(m_window.get(), &FormVideo::unloaded);
        const double length = engine.Duration();
        const double from = engine.CurrentPosition();
        double shown = mpvPosition(); // the frame's own time

        const auto press = [&] {
            QTest::keyClick(static_cast<QWidget*>(nullptr), key.key(), key.keyboardModifiers());
        };
        if (QString::fromLatin1(QTest::currentDataTag()).contains("wheel"))
            turnWheel(name.endsWith("Volume") ? volumeBar() : picture, int(amount));
        else if (name == "double click")
            QTest::mouseDClick(picture, Qt::LeftButton);
        else {
            const QStringList onTracksClip{"chapter", "sub-visibility", "sid", "aid"};
            if (onTracksClip.contains(effect))
                openTracksClip();
            if (effect == "speed" && amount == 1.0)
                engine.setTuning("speed", 2.0);
            if (effect == "frame" && amount < 0) {
                // mpv steps back from a frame it stepped to, not from where a seek landed.
                engine.stepFrame(true);
                QTRY_VERIFY(mpvPosition() > shown + 0.02);
                shown = mpvPosition();
            }
            press();
        }

        if (effect == "play") {
            QTRY_COMPARE(engine.PlayState(), PlayStates::Playing);
        } else if (effect == "seek") {
            const double to = std::clamp(from + amount, 0.0, length);
            if (to < length) {
                QTRY_VERIFY2(qAbs(mpvPosition() - to) < 0.1 &&
                                 qAbs(engine.CurrentPosition() - to) < 0.1,
                             qPrintable(QString::number(mpvPosition())));
            } else {
                // An MPEG program stream's end is found only roughly; a file that gets there
                // goes on to the next entry.
                QTRY_VERIFY(engine.FileName() != clip("long.mpg") || mpvPosition() > length - 2);
            }
        } else if (effect == "volume") {
            const int to = startVolume + int(amount) * Volume::step;
            QCOMPARE(engine.Volume(), to);
            QCOMPARE(barVolume(), to);
            QTRY_VERIFY(qAbs(mpv().mpvValue("volume").toDouble() - Volume::toMpv(to)) < 0.01);
        } else if (effect == "mute") {
            for (const bool muted : {true, false}) {
                QCOMPARE(engine.Mute(), muted);
                QTRY_COMPARE(mpv().mpvValue("mute").toBool(), muted);
                // Muted, the bar shows silence; the volume itself is kept for the way back.
                QCOMPARE(barVolume(), muted ? Volume::silence : startVolume);
                QCOMPARE(engine.Volume(), startVolume);
                if (muted)
                    press();
            }
        } else if (effect == "full screen") {
            QCOMPARE(engine.DisplaySize(),
                     fullScreen ? DisplaySizes::Fitted : DisplaySizes::FullScreen);
        } else if (effect == "entry") {
            const int to = 2 + int(amount);
            QCOMPARE(m_window->playlistWindow().playlist().CurrentIndex(), to);
            QCOMPARE(engine.FileName(), clip(entries.at(to - 1)));
        } else if (effect == "open") {
            QCOMPARE(m_dialogs->asked.size(), 1);
            QVERIFY(m_dialogs->asked.first().kind == ScriptedDialogs::Kind::Open);
        } else if (effect == "exit") {
            QCOMPARE(unloaded.count(), 1);
        } else if (QStringList{"speed", "sub-delay", "audio-delay", "ab-loop-a", "chapter", "aid",
                               "video-aspect-override"}
                       .contains(effect)) {
            QTRY_VERIFY2(qAbs(mpv().mpvValue(effect.toLatin1()).toDouble() - amount) < 0.02,
                         qPrintable(mpv().mpvValue(effect.toLatin1()).toString()));
        } else if (QStringList{"sub-visibility", "deinterlace"}.contains(effect)) {
            QTRY_COMPARE(mpv().mpvValue(effect.toLatin1()).toBool(), amount != 0);
        } else if (effect == "sid") { // one subtitle track: the next is none
            QTRY_COMPARE(mpv().mpvValue("sid").toBool(), false);
        } else if (effect == "loop-file") {
            QTRY_COMPARE(mpv().mpvValue("loop-file").toString(), QString("inf"));
        } else if (effect == "frame") {
            // long.mpg has 25 frames a second; a seek may report its target before the frame.
            QTRY_VERIFY2(qAbs(mpvPosition() - (shown + amount / 25)) < 0.02,
                         qPrintable(QString::number(mpvPosition())));
            QCOMPARE(engine.PlayState(), PlayStates::Paused);
        } else if (effect == "stats") {
            QVERIFY(mpv().statisticsShown());
        } else if (effect == "on top") {
            QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
        } else if (effect == "screenshot") {
            // The picture as shown, at the film's size; a second press never overwrites it.
            for (const int count : {1, 2}) {
                QTRY_COMPARE(pictures().size(), count);
                const QString shot = m_dir.filePath("pictures/" + pictures().last());
                QTRY_COMPARE(QImage(shot).size(),
                             QSize(engine.ImageSourceWidth(), engine.ImageSourceHeight()));
                if (count == 1)
                    press();
            }
            QVERIFY(QDir(m_dir.filePath("pictures")).removeRecursively());
        } else if (effect == "menu") {
            // Over the picture, wherever the pointer is.
            QTRY_VERIFY(m_window->mnuFile()->isVisible());
            QVERIFY(QRect(picture->mapToGlobal(QPoint()), picture->size())
                        .contains(m_window->mnuFile()->pos()));
            m_window->mnuFile()->hide();
        }
        if (effect != "full screen" && effect != "exit")
            QCOMPARE(engine.DisplaySize(),
                     fullScreen ? DisplaySizes::FullScreen : DisplaySizes::Fitted);
    }

    // The options dialog's mute is M's: the bar shows silence, and M brings the sound back.
    void dialogMuteIsTheKeysMute()
    {
        makeScene();
        mpv().ShowDialog(EngineDialogs::Options);
        mpv().optionsDialog()->findChild<QCheckBox*>("mute")->click();
        QCOMPARE(barVolume(), Volume::silence);
        m_window->actions().mute->trigger();
        QVERIFY(!mpv().Mute());
        QTRY_COMPARE(mpv().mpvValue("mute").toBool(), false);
        QCOMPARE(barVolume(), startVolume);
    }

    // Set at 10 s and 12 s, the loop keeps playback between them.
    void abLoopHolds()
    {
        makeScene();
        MediaEngine& engine = m_window->MediaPlayer1();
        m_window->actions().abLoop->trigger();
        engine.setCurrentPosition(12);
        QTRY_VERIFY(qAbs(mpvPosition() - 12) < 0.05);
        m_window->actions().abLoop->trigger();
        QTRY_COMPARE(mpv().mpvValue("ab-loop-b").toDouble(), 12.0);
        engine.Play();
        for (int i = 0; i < 30; ++i) {
            QTest::qWait(100);
            // mpv turns back at the first frame past B, reported a few frames late.
            QVERIFY2(mpvPosition() > startAt - 0.1 && mpvPosition() < 12.3,
                     qPrintable(QString::number(mpvPosition())));
        }
    }

    // A key's line is drawn on the picture; a glyph click that shares its action draws none.
    void pictureAnswers_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Up") << true;
        QTest::newRow("play glyph") << false;
    }

    void pictureAnswers()
    {
        QFETCH(bool, byKey);
        makeScene();
        MediaEngine& engine = m_window->MediaPlayer1();
        m_window->playlist().playNow(clip("plain.avi"));
        QTRY_COMPARE(engine.FileName(), clip("plain.avi"));
        engine.Pause();
        const auto* view = qobject_cast<MpvView*>(engine.view());
        // plain.avi's grey-blue, with nothing bright left of long.mpg's picture.
        const auto plain = [view] {
            const QImage picture = view->grabFramebuffer();
            return qGray(picture.pixel(picture.width() / 2, picture.height() / 2)) > 40 &&
                   enginetest::brightPixels(picture) == 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(plain(), 10000);
        view->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view->window()));
        if (byKey) {
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Up);
            QTRY_VERIFY_WITH_TIMEOUT(enginetest::brightPixels(view->grabFramebuffer()) > 20, 5000);
        } else {
            auto* glyph = m_window->findChild<QWidget*>("lblPlay");
            QVERIFY(glyph);
            QTest::mouseClick(glyph, Qt::LeftButton);
            QTRY_COMPARE(engine.PlayState(), PlayStates::Playing);
            QTest::qWait(500);
            QCOMPARE(enginetest::brightPixels(view->grabFramebuffer()), 0);
        }
    }

    // A hostile film name stays one plain name inside the folder; a link in the way is passed by.
    void screenshotNames_data()
    {
        QTest::addColumn<QString>("film");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "/m/Film.avi"
                               << "Film 0.01.05.png";
        QTest::newRow("dots") << "/m/..hidden.x.avi"
                              << "hidden.x 0.01.05.png";
        QTest::newRow("controls") << "/m/a\nb\x1b.avi"
                                  << "a_b_ 0.01.05.png";
        QTest::newRow("only dots") << "/m/...avi"
                                   << "orvella 0.01.05.png";
        QTest::newRow("link in the way") << "/m/Film.avi"
                                         << "Film 0.01.05 (2).png";
    }

    void screenshotNames()
    {
        QFETCH(QString, film);
        QFETCH(QString, name);
        const QString folder = m_dir.filePath("names");
        QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
        const QString target = m_dir.filePath("target");
        if (name.contains("(2)"))
            QVERIFY(QFile::link(target, folder + "/Film 0.01.05.png"));
        QCOMPARE(MpvKeys::freshScreenshotFile(folder, film, 65.5), folder + "/" + name);
        QVERIFY(!QFile::exists(target));
    }

    void playlistKeepsItsKeys()
    {
        makeScene();
        m_window->actions().mnuShowPL->trigger();
        PlaylistWindow& pls = m_window->playlistWindow();
        pls.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&pls));
        pls.listview1()->setFocus();
        const int selected = pls.playlist().selectedItem();
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
        QCOMPARE(pls.playlist().selectedItem(), selected + 1);
        QCOMPARE(m_window->MediaPlayer1().Volume(), startVolume);
    }

    void menuShowsTheKeys()
    {
        makeScene();
        const PlayerActions& a = m_window->actions();
        QStringList shown;
        for (const QAction* item : {a.mnuOpen, a.mnuPrev, a.mnuNext, a.mnuFullscreen, a.mnuExit})
            shown << (item->isShortcutVisibleInContextMenu() ? item->shortcut().toString() : "");
        QCOMPARE(shown, (QStringList{"Ctrl+O", "PgUp", "PgDown", "F", "Ctrl+Q"}));
    }

    // A packaged install has no README: the manual page names every key itself.
    void manualPageNamesEveryKey()
    {
        QFile page(QStringLiteral(ORVELLA_SOURCE_DIR "/dist/orvella.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString keys =
            QString::fromUtf8(page.readAll()).section(".SH KEYS", 1).section(".SH", 0, 0);
        const PlayerActions actions;
        for (const QAction* action : actions.withKeys())
            for (const QKeySequence& key : action->shortcuts())
                QVERIFY2(keys.contains(key.toString()), qPrintable(key.toString()));
    }

    void cleanup() { m_window.reset(); }
};

// A display of its own: windows other tests show on a shared one take the focus the keys need.
ORVELLA_QTEST_MAIN_WITH_OWN_X(TestKeys, .windowManager = false)
#include "tst_keys.moc"
