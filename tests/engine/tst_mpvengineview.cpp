// The libmpv engine drawing for real: its view inside a window on the (virtual) X server,
// pictures through mpv's OpenGL render API, full screen, overlays, input and the options
// dialog.
#include "engine/mpv/engineoptionsdialog.h"
#include "engine/mpv/mpvview.h"
#include "enginetest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <utility>

using enginetest::brightPixels;
using enginetest::clip;
using enginetest::kTimeoutMs;
using enginetest::writeSubtitle;

namespace {
bool hasPicture(const QImage& image)
{
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (qGray(image.pixel(x, y)) > 40)
                return true;
        }
    }
    return false;
}
} // namespace

class TestMpvEngineView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drawsMovingPicture();
    void pictureIsUpright();
    void bigPictureOpens();
    void rectAndToolTip();
    void fullScreenAndBack();
    void escapeLeavesFullScreen();
    void hidingKeepsPlaying();
    void mouseDownAndKeyUp();
    void overlaysDrawOnPicture();
    void messageWithNothingOpen();
    void optionsDialogAppliesLive();
    void subtitlesBesideTheFilmShow();
    void slowSubtitlesHoldNoWindow();
    void optionsDialogChoosesTracks();
    void shutDownClosesItsWindowsAndStops();

private:
    QImage grab() const { return m_view->grabFramebuffer(); }
    // Opens a clip, halts it and waits until its picture is drawn.
    void openHalted(const char* name) { openHaltedPath(clip(name)); }
    void openHaltedPath(const QString& path);

    const QRect m_rect{20, 20, 320, 240};
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<MpvEngine> m_engine;
    MpvView* m_view = nullptr;
};

void TestMpvEngineView::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(480, 360);
    m_engine = std::make_unique<MpvEngine>(
        MpvEngine::Options{.video = true, .audioOutput = QStringLiteral("null")});
    m_view = qobject_cast<MpvView*>(m_engine->view());
    QVERIFY(m_view);
    QVERIFY2(m_engine->drawsPicture(), "no OpenGL render path");
    m_view->setParent(m_window.get());
    m_engine->setRect(m_rect);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMpvEngineView::cleanup()
{
    m_engine.reset();
    m_window.reset();
    m_view = nullptr;
}

void TestMpvEngineView::openHaltedPath(const QString& path)
{
    QVERIFY2(m_engine->setFileName(path), qPrintable(m_engine->lastError()));
    QTRY_VERIFY_WITH_TIMEOUT(m_engine->CurrentPosition() > 0.3, kTimeoutMs);
    m_engine->Pause();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Paused, kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    // A frame already on its way may still arrive after the pause.
    QImage last = grab();
    QTRY_VERIFY_WITH_TIMEOUT(std::exchange(last, grab()) == last, kTimeoutMs);
}

void TestMpvEngineView::drawsMovingPicture()
{
    QVERIFY(!hasPicture(grab()));
    QVERIFY2(m_engine->setFileName(clip("clip.avi")), qPrintable(m_engine->lastError()));
    QCOMPARE(m_engine->ImageSourceWidth(), 160);
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    const QImage first = grab();
    QTRY_VERIFY_WITH_TIMEOUT(grab() != first, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Stopped, kTimeoutMs);
    QCOMPARE(m_engine->CurrentPosition(), m_engine->Duration());
    // The last picture stays on screen.
    QVERIFY(hasPicture(grab()));
}

void TestMpvEngineView::pictureIsUpright()
{
    // White above, black below.
    QVERIFY2(m_engine->setFileName(clip("updown.jpg")), qPrintable(m_engine->lastError()));
    QCOMPARE(m_engine->ImageSourceWidth(), 64);
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    const QImage picture = grab();
    const int x = picture.width() / 2;
    QVERIFY(qGray(picture.pixel(x, picture.height() / 4)) > 200);
    QVERIFY(qGray(picture.pixel(x, picture.height() * 3 / 4)) < 50);
}

void TestMpvEngineView::bigPictureOpens()
{
    QVERIFY2(m_engine->setFileName(clip("uhd.avi")), qPrintable(m_engine->lastError()));
    QCOMPARE(m_engine->ImageSourceWidth(), 3840);
    QCOMPARE(m_engine->ImageSourceHeight(), 2160);
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Stopped, kTimeoutMs);
    QCOMPARE(m_engine->CurrentPosition(), m_engine->Duration());
}

void TestMpvEngineView::rectAndToolTip()
{
    QCOMPARE(m_view->parentWidget(), m_window.get());
    QCOMPARE(m_view->geometry(), m_rect);
    QCOMPARE(m_engine->rect(), m_rect);
    const QRect moved(5, 6, 200, 150);
    m_engine->setRect(moved);
    QCOMPARE(m_view->geometry(), moved);
    QCOMPARE(m_engine->rect(), moved);

    m_engine->setToolTip(QStringLiteral("Orvella: clip.avi 312x186"));
    QCOMPARE(m_engine->toolTip(), QStringLiteral("Orvella: clip.avi 312x186"));
    QCOMPARE(m_view->toolTip(), QStringLiteral("Orvella: clip.avi 312x186"));
}

void TestMpvEngineView::fullScreenAndBack()
{
    QSignalSpy modeSpy(m_engine.get(), &MediaEngine::DisplayModeChange);
    openHalted("clip.avi");

    m_engine->setDisplaySize(DisplaySizes::FullScreen);
    QCOMPARE(m_engine->DisplaySize(), DisplaySizes::FullScreen);
    QWidget* top = m_view->window();
    QVERIFY(top != m_window.get());
    QVERIFY(top->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(top->windowState() & Qt::WindowFullScreen);
    QVERIFY(m_view->isVisible());
    const QRect screen = m_window->screen()->geometry();
    QTRY_COMPARE_WITH_TIMEOUT(top->geometry(), screen, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_view->size(), screen.size(), kTimeoutMs);
    // The picture is drawn at the new size.
    QTRY_VERIFY_WITH_TIMEOUT(grab().size() == screen.size() && hasPicture(grab()), kTimeoutMs);

    m_engine->setDisplaySize(DisplaySizes::Fitted);
    QCOMPARE(m_engine->DisplaySize(), DisplaySizes::Fitted);
    QCOMPARE(m_view->parentWidget(), m_window.get());
    QCOMPARE(m_view->window(), m_window.get());
    QCOMPARE(m_view->geometry(), m_rect);
    QVERIFY(m_view->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    // Only a change the engine makes by itself is reported.
    QCOMPARE(modeSpy.count(), 0);

    // Playback goes on after the move.
    m_engine->Play();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Stopped, kTimeoutMs);
}

void TestMpvEngineView::escapeLeavesFullScreen()
{
    QSignalSpy modeSpy(m_engine.get(), &MediaEngine::DisplayModeChange);
    QSignalSpy keySpy(m_engine.get(), &MediaEngine::KeyUp);
    // Escape while fitted changes nothing.
    QTest::keyClick(m_view, Qt::Key_Escape);
    QCOMPARE(modeSpy.count(), 0);
    QCOMPARE(m_engine->DisplaySize(), DisplaySizes::Fitted);

    m_engine->setDisplaySize(DisplaySizes::FullScreen);
    QVERIFY(m_view->window() != m_window.get());
    keySpy.clear();
    QTest::keyClick(m_view, Qt::Key_Escape);
    QCOMPARE(m_engine->DisplaySize(), DisplaySizes::Fitted);
    QCOMPARE(modeSpy.count(), 1);
    QCOMPARE(m_view->parentWidget(), m_window.get());
    QCOMPARE(m_view->geometry(), m_rect);
    QCOMPARE(keySpy.count(), 1);
    QCOMPARE(keySpy.at(0), (QVariantList{int(Qt::Key_Escape), 0}));
}

void TestMpvEngineView::hidingKeepsPlaying()
{
    QVERIFY2(m_engine->setFileName(clip("clip.avi")), qPrintable(m_engine->lastError()));
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
    m_window->hide();
    QVERIFY(!m_view->isVisible());
    const double hiddenAt = m_engine->CurrentPosition();
    QVERIFY(hiddenAt < 1.5);

    // mpv's video output waits for its frames to be drawn, and nothing on screen draws them
    // now: the engine goes on drawing off screen (grabbing shows its latest picture).
    const QImage atHiding = grab();
    QTRY_VERIFY_WITH_TIMEOUT(grab() != atHiding, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Stopped, kTimeoutMs);
    QCOMPARE(m_engine->CurrentPosition(), m_engine->Duration());
    QVERIFY(!m_view->isVisible());

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_VERIFY_WITH_TIMEOUT(hasPicture(grab()), kTimeoutMs);
}

void TestMpvEngineView::mouseDownAndKeyUp()
{
    QSignalSpy mouseSpy(m_engine.get(), &MediaEngine::MouseDown);
    QSignalSpy keySpy(m_engine.get(), &MediaEngine::KeyUp);

    QTest::mouseClick(m_view, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, QPoint(7, 9));
    QTest::mouseClick(m_view, Qt::MiddleButton, Qt::NoModifier, QPoint(100, 80));
    QCOMPARE(mouseSpy.count(), 3);
    QCOMPARE(mouseSpy.at(0), (QVariantList{2, 1, 30.0, 40.0}));
    QCOMPARE(mouseSpy.at(1), (QVariantList{1, 6, 7.0, 9.0}));
    QCOMPARE(mouseSpy.at(2), (QVariantList{4, 0, 100.0, 80.0}));

    QTest::keyPress(m_view, Qt::Key_A);
    QCOMPARE(keySpy.count(), 0);
    QTest::keyRelease(m_view, Qt::Key_A);
    QCOMPARE(keySpy.count(), 1);
    QCOMPARE(keySpy.at(0), (QVariantList{int(Qt::Key_A), 0}));
    // Test input presses and releases the modifier keys too; each release is reported.
    keySpy.clear();
    QTest::keyClick(m_view, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_Space, Qt::ShiftModifier | Qt::AltModifier);
    QVERIFY(keySpy.contains(QVariantList{int(Qt::Key_B), 2}));
    QVERIFY(keySpy.contains(QVariantList{int(Qt::Key_Space), 5}));
    QVERIFY(!keySpy.contains(QVariantList{int(Qt::Key_B), 0}));

    // Keys that quit or stop a plain mpv player do nothing to the engine.
    QVERIFY2(m_engine->setFileName(clip("clip.avi")), qPrintable(m_engine->lastError()));
    for (const Qt::Key key : {Qt::Key_Q, Qt::Key_Space, Qt::Key_Escape})
        QTest::keyClick(m_view, key);
    QTest::qWait(300);
    QCOMPARE(m_engine->FileName(), clip("clip.avi"));
    QCOMPARE(m_engine->PlayState(), PlayStates::Playing);
}

void TestMpvEngineView::overlaysDrawOnPicture()
{
    openHalted("clip.avi");
    const QImage plain = grab();

    m_engine->setShowStatusBar(true);
    QVERIFY(m_engine->ShowStatusBar());
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("osd-level").toInt(), 3, kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(grab() != plain, kTimeoutMs);
    m_engine->setShowStatusBar(false);
    QTRY_COMPARE_WITH_TIMEOUT(grab(), plain, kTimeoutMs);

    m_engine->setShowControls(true);
    QVERIFY(m_engine->ShowControls());
    QTRY_VERIFY_WITH_TIMEOUT(grab() != plain, kTimeoutMs);
    m_engine->setShowControls(false);
    QTRY_COMPARE_WITH_TIMEOUT(grab(), plain, kTimeoutMs);

    m_engine->ShowDialog(EngineDialogs::Statistics);
    QVERIFY(m_engine->statisticsShown());
    QTRY_VERIFY_WITH_TIMEOUT(grab() != plain, kTimeoutMs);
    m_engine->ShowDialog(EngineDialogs::Statistics);
    QVERIFY(!m_engine->statisticsShown());
    QTRY_COMPARE_WITH_TIMEOUT(grab(), plain, kTimeoutMs);
    QCOMPARE(m_engine->PlayState(), PlayStates::Paused);

    m_engine->showMessage(QStringLiteral("Not a local file: http://example.org/"));
    QTRY_VERIFY_WITH_TIMEOUT(grab() != plain, kTimeoutMs);
    QCOMPARE(m_view->message(), QString());
}

void TestMpvEngineView::messageWithNothingOpen()
{
    QVERIFY(!m_engine->setFileName(QStringLiteral("http://example.org/a.avi")));
    QVERIFY(!hasPicture(m_view->grab().toImage()));
    // mpv has nothing to draw on: the view draws the text in the picture's place.
    m_engine->showMessage(m_engine->lastError());
    QCOMPARE(m_view->message(), m_engine->lastError());
    QVERIFY(hasPicture(m_view->grab().toImage()));
    openHalted("clip.avi");
    QCOMPARE(m_view->message(), QString());
}

void TestMpvEngineView::optionsDialogAppliesLive()
{
    QVERIFY(!m_engine->optionsDialog());
    m_engine->ShowDialog(EngineDialogs::Options);
    QWidget* dialog = m_engine->optionsDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Media Options"));
    auto* deinterlace = dialog->findChild<QCheckBox*>(QStringLiteral("deinterlace"));
    auto* mute = dialog->findChild<QCheckBox*>(QStringLiteral("mute"));
    auto* hardware = dialog->findChild<QCheckBox*>(QStringLiteral("hardwareDecoding"));
    auto* aspect = dialog->findChild<QComboBox*>(QStringLiteral("aspect"));
    QVERIFY(deinterlace && mute && hardware && aspect);
    QVERIFY(!deinterlace->isChecked());
    QVERIFY(!mute->isChecked());
    // The player's volume owner answers the mute box.
    connect(m_engine.get(), &MediaEngine::muteAsked, m_engine.get(), &MpvEngine::setMute);
    // Hardware decoding is on from the start, also in a dialog opened before mpv says so.
    QTRY_VERIFY_WITH_TIMEOUT(hardware->isChecked(), kTimeoutMs);

    deinterlace->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("deinterlace").toBool(), true, kTimeoutMs);
    mute->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("mute").toBool(), true, kTimeoutMs);
    hardware->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("hwdec").toString(), QStringLiteral("no"),
                              kTimeoutMs);
    aspect->setCurrentIndex(aspect->findText(QStringLiteral("16:9")));
    QTRY_VERIFY_WITH_TIMEOUT(
        std::abs(m_engine->mpvValue("video-aspect-override").toDouble() - 16.0 / 9.0) < 0.01,
        kTimeoutMs);

    // Shown again, the dialog reads back what mpv now has.
    dialog->hide();
    m_engine->ShowDialog(EngineDialogs::Options);
    QCOMPARE(m_engine->optionsDialog(), dialog);
    QVERIFY(deinterlace->isChecked());
    QVERIFY(mute->isChecked());
    QVERIFY(!hardware->isChecked());
    QCOMPARE(aspect->currentText(), QStringLiteral("16:9"));

    // The rows the keys also turn apply at once, and follow what the keys set.
    auto* speed = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("speed"));
    auto* gamma = dialog->findChild<QSpinBox*>(QStringLiteral("gamma"));
    auto* subtitleDelay = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("subtitleDelay"));
    QVERIFY(speed && gamma && subtitleDelay);
    speed->setValue(1.5);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("speed").toDouble(), 1.5, kTimeoutMs);
    gamma->setValue(20);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("gamma").toInt(), 20, kTimeoutMs);
    m_engine->setTuning("sub-delay", 0.3);
    QTRY_COMPARE_WITH_TIMEOUT(subtitleDelay->value(), 0.3, kTimeoutMs);
}

void TestMpvEngineView::subtitlesBesideTheFilmShow()
{
    QTemporaryDir dir;
    // A name mpv would split, were it ever put into one of its lists.
    const QString name = dir.filePath(QStringLiteral("a,b:c=d --sub-files=x"));
    QVERIFY(QFile::link(clip("plain.avi"), name + QStringLiteral(".avi")));
    openHaltedPath(name + QStringLiteral(".avi"));
    QCOMPARE(brightPixels(grab()), 0);

    QVERIFY(writeSubtitle(name + QStringLiteral(".srt"), "SUBTITLE"));
    openHaltedPath(name + QStringLiteral(".avi"));
    QTRY_VERIFY_WITH_TIMEOUT(brightPixels(grab(), 0.75, 1) > 20, kTimeoutMs);
    QCOMPARE(brightPixels(grab(), 0, 0.5), 0);
    const QVariantList tracks = m_engine->mpvValue("track-list").toList();
    QCOMPARE(tracks.size(), 2);
    QCOMPARE(tracks.last().toMap().value("external-filename").toString(),
             name + QStringLiteral(".srt"));
    QVERIFY(tracks.last().toMap().value("selected").toBool());
}

void TestMpvEngineView::slowSubtitlesHoldNoWindow()
{
    // A thousand large, blurred, turning lines on screen at once: every frame is drawn anew,
    // and takes the drawing the best part of a second.
    QByteArray script = "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
                        "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
                        "MarginV, Effect, Text\n";
    for (int i = 0; i < 1000; ++i)
        script +=
            "Dialogue: " + QByteArray::number(i) +
            ",0:00:00.00,0:10:00.00,Default,,0,0,0,,{\\t(\\frz3600)\\blur40\\bord30\\fs300\\pos(" +
            QByteArray::number(i * 37 % 1920) + ',' + QByteArray::number(i * 53 % 1080) +
            ")}HOSTILE TEXT\n";
    QTemporaryDir dir;
    const QString film = dir.filePath(QStringLiteral("film.avi"));
    QVERIFY(QFile::link(clip("plain.avi"), film));
    QFile subtitle(dir.filePath(QStringLiteral("film.ass")));
    QVERIFY(subtitle.open(QIODevice::WriteOnly) && subtitle.write(script) == script.size());
    subtitle.close();
    QVERIFY2(m_engine->setFileName(film), qPrintable(m_engine->lastError()));
    // Two slow frames switch the subtitles off, and the film goes on without them.
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("sid"), QVariant(false), kTimeoutMs);

    // The window's event loop goes round while the frames are drawn.
    int rounds = 0;
    QTimer round;
    connect(&round, &QTimer::timeout, this, [&] { ++rounds; });
    round.start(10);
    QTest::qWait(3000);
    QVERIFY2(rounds > 50, qPrintable(QString::number(rounds)));
}

void TestMpvEngineView::optionsDialogChoosesTracks()
{
    QTemporaryDir dir;
    const QString film = dir.filePath(QStringLiteral("film.avi"));
    QVERIFY(QFile::link(clip("plain.avi"), film));
    QVERIFY(writeSubtitle(dir.filePath(QStringLiteral("film.srt")), "ONE"));
    QVERIFY(writeSubtitle(dir.filePath(QStringLiteral("film.en.srt")), "TWO TWO TWO"));
    QVERIFY(writeSubtitle(dir.filePath(QStringLiteral("later.srt")), "THREE"));
    openHaltedPath(film);
    QTRY_VERIFY_WITH_TIMEOUT(brightPixels(grab()) > 0, kTimeoutMs);
    const QImage first = grab();

    m_engine->ShowDialog(EngineDialogs::Options);
    EngineOptionsDialog* dialog = m_engine->optionsDialog();
    auto* subtitles = dialog->findChild<QComboBox*>(QStringLiteral("subtitleTrack"));
    QVERIFY(subtitles);
    QTRY_COMPARE_WITH_TIMEOUT(subtitles->count(), 3, kTimeoutMs);
    QCOMPARE(subtitles->currentIndex(), 1);
    QVERIFY(subtitles->itemText(1).contains(QStringLiteral("film.srt")));
    QVERIFY(subtitles->itemText(2).contains(QStringLiteral("film.en.srt")));

    emit subtitles->activated(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("sid"), QVariant(false), kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(brightPixels(grab()), 0, kTimeoutMs);
    emit subtitles->activated(2);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("sid"), subtitles->itemData(2), kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(brightPixels(grab()) > 0 && grab() != first, kTimeoutMs);
    QCOMPARE(subtitles->currentIndex(), 2);

    // "Load subtitle file…" starts beside the film, and what it loads is shown.
    QString askedIn;
    dialog->setFileChooser([&](QWidget*, const QString& folder) {
        askedIn = folder;
        return dir.filePath(QStringLiteral("later.srt"));
    });
    dialog->findChild<QPushButton*>(QStringLiteral("loadSubtitle"))->click();
    QCOMPARE(askedIn, dir.path());
    QTRY_COMPARE_WITH_TIMEOUT(subtitles->count(), 4, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(subtitles->currentIndex(), 3, kTimeoutMs);
    QCOMPARE(m_engine->mpvValue("sid"), subtitles->itemData(3));

    // Another film: the lists follow it. Sound is there to choose, and any device mpv knows.
    QVERIFY2(m_engine->setFileName(clip("clip.avi")), qPrintable(m_engine->lastError()));
    auto* audio = dialog->findChild<QComboBox*>(QStringLiteral("audioTrack"));
    QTRY_COMPARE_WITH_TIMEOUT(audio->count(), 1, kTimeoutMs);
    QVERIFY(audio->itemText(0).contains(QStringLiteral("mp3")));
    QCOMPARE(audio->currentIndex(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(subtitles->count(), 1, kTimeoutMs);
    auto* devices = dialog->findChild<QComboBox*>(QStringLiteral("audioDevice"));
    QTRY_VERIFY_WITH_TIMEOUT(devices->count() > 0, kTimeoutMs);
    QCOMPARE(devices->currentData().toString(), QStringLiteral("auto"));
    emit devices->activated(devices->count() - 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->mpvValue("audio-device"),
                              devices->itemData(devices->count() - 1), kTimeoutMs);
}

void TestMpvEngineView::shutDownClosesItsWindowsAndStops()
{
    QVERIFY2(m_engine->setFileName(clip("long.mpg")), qPrintable(m_engine->lastError()));
    m_engine->ShowDialog(EngineDialogs::Options);
    m_engine->setDisplaySize(DisplaySizes::FullScreen);
    QWidget* fullScreen = m_view->window();
    QVERIFY(fullScreen != m_window.get());
    QVERIFY(QTest::qWaitForWindowExposed(fullScreen));
    QCOMPARE(m_engine->PlayState(), PlayStates::Playing);

    m_engine->shutDown();
    QVERIFY(!m_engine->optionsDialog()->isVisible());
    QCOMPARE(m_view->window(), m_window.get());
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->PlayState(), PlayStates::Closed, kTimeoutMs);
}

int main(int argc, char* argv[])
{
    MpvEngine::prepareApplication();
    QApplication app(argc, argv);
    TestMpvEngineView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mpvengineview.moc"
