// The keys and the wheel with the real engine on real clips, in the main window and in full
// screen: each row presses one key (or turns the wheel one notch) where the window system
// sends it, and reads back what the engine and the volume bar then hold.
#include "controls/commondialog.h"
#include "engine/mpv/engineoptionsdialog.h"
#include "engine/mpv/mpvengine.h"
#include "engine/volume.h"
#include "player/formvideo.h"
#include "playlist/playlistwindow.h"
#include "scripteddialogs.h"
#include "window/bars.h"
#include "window/playeractions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
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

private slots:
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
        }
    }

    void keys()
    {
        QFETCH(bool, fullScreen);
        QFETCH(QString, effect);
        QFETCH(double, amount);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).section(' ', -1);
        const QKeyCombination key = QKeySequence(name)[0];
        makeScene();
        MediaEngine& engine = m_window->MediaPlayer1();
        QWidget* picture = engine.view();
        if (fullScreen)
            m_window->actions().mnuFullscreen->trigger();
        picture->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(picture->window()));
        QSignalSpy unloaded(m_window.get(), &FormVideo::unloaded);
        const double length = engine.Duration();
        const double from = engine.CurrentPosition();

        const auto press = [&] {
            QTest::keyClick(static_cast<QWidget*>(nullptr), key.key(), key.keyboardModifiers());
        };
        if (QString::fromLatin1(QTest::currentDataTag()).contains("wheel"))
            turnWheel(name == "Volume" ? volumeBar() : picture, int(amount));
        else
            press();

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

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    TestKeys test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_keys.moc"
