#include "player/formvideo.h"

#include "common/starttrace.h"
#include "common/twips.h"
#include "controls/face.h"
#include "controls/filedrop.h"
#include "controls/frmsplash.h"
#include "controls/glyphlabel.h"
#include "controls/modlocksize.h"
#include "controls/pointer.h"
#include "controls/programicon.h"
#include "controls/screentwips.h"
#include "controls/shellicon.h"
#include "engine/mediaengine.h"
#include "platform/modhotkey.h"
#include "platform/screensaverhold.h"
#include "player/keepawake.h"
#include "player/keycommands.h"
#include "player/mpris.h"
#include "player/playbackcontroller.h"
#include "player/playbackkeys.h"
#include "player/startup.h"
#include "player/startupopen.h"
#include "playlist/displayname.h"
#include "playlist/playlistwindow.h"
#include "window/aboutshowing.h"
#include "window/bars.h"
#include "window/chrome.h"
#include "window/displaycommands.h"
#include "window/geometry.h"
#include "window/maximiser.h"
#include "window/playeractions.h"
#include "window/playlistdocking.h"
#include "window/popupmenu.h"
#include "window/windowmover.h"
#include "window/windowshowing.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>

namespace {

const QString programTitle = QStringLiteral("Orvella");

} // namespace

FormVideo::Environment FormVideo::defaultEnvironment()
{
    return {Startup::defaultLockPath(), Startup::userFolder()};
}

FormVideo::FormVideo(std::unique_ptr<MediaEngine> engine, Environment environment, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_engine(std::move(engine)),
      m_env(std::move(environment)), m_playlist(new Playlist(this)),
      m_playback(new PlaybackController(*m_engine, *m_playlist, this)),
      m_actions(new PlayerActions(this)), m_chrome(new MainWindowChrome(*this, *m_engine)),
      m_mnuFile(buildPopupMenu(*m_actions, this)),
      m_maximiser(new WindowMaximiser(*this, *m_chrome->Label3)),
      m_mover(new WindowMover(*this, [this] { return m_maximiser->maximised(); })),
      m_sizeGrip(new SizeGrip(*this)),
      m_docking(new PlaylistDocking(
          *this,
          [this](bool create) -> QWidget* {
              return create ? &playlistWindow() : m_playlistWindow.get();
          },
          m_actions->mnuPLSattached->isChecked())),
      m_display(new DisplayCommands(*this, *m_engine, *m_actions->mnuMovieControls)),
      m_shellIcon1(new ShellIcon(*this)), m_showing(new WindowShowing(*this, *m_maximiser)),
      m_about(new AboutShowing(*this, programTitle))
{
    setObjectName(QStringLiteral("FormVideo"));
    setWindowTitle(programTitle);
    Face::paint(*this, Face::dark);
    setMouseTracking(true);
    setWindowIcon(programIcon());

    m_engine->setParent(nullptr);
    if (QWidget* view = m_engine->view())
        view->setParent(this);
    m_engine->setToolTip(QStringLiteral("Orvella: Right-Click to load a file"));
    connect(m_engine.get(), &MediaEngine::MouseDown, this, &FormVideo::onMouseDown);
    connect(m_engine.get(), &MediaEngine::KeyUp, m_display, &DisplayCommands::windowedModeCheck);
    connect(m_engine.get(), &MediaEngine::DisplayModeChange, m_display,
            &DisplayCommands::windowedModeCheck);
    wirePlayback();
    wireCommands();
    wireChrome();
    m_shellIcon1->setToolTipText(programTitle);
    m_shellIcon1->setIcon(programIcon());
    m_showing->answerTray(*m_shellIcon1, *m_mnuFile);
    connect(new FileDrop(*this), &FileDrop::dropped, this, [this](const QStringList& paths) {
        if (const QStringList rest = m_playback->takeSubtitles(paths); !rest.isEmpty())
            playlistWindow().addDropped(rest);
    });
}

FormVideo::~FormVideo()
{
    unload();
    // The engine's picture lives among this window's children; the engine goes first.
    m_engine.reset();
}

void FormVideo::wirePlayback()
{
    connect(m_playback, &PlaybackController::entryOpened, this, &FormVideo::onEntryOpened);
    connect(m_playlist, &Playlist::listFileDropped, this,
            [this](const QString& path) { playlistWindow().addDropped({path}); });
    const MainWindowChrome& c = *m_chrome;
    connect(m_playback, &PlaybackController::playButtonChanged, this,
            [&c](const QString& caption, const QString& toolTip) {
                c.lblPlay->setText(caption);
                c.lblPlay->setToolTip(toolTip);
            });
    connect(m_playback, &PlaybackController::progress, c.Position, &SeekBar::showProgress);
    connect(m_playback, &PlaybackController::fileChanged, c.Position, &SeekBar::clear);
    connect(m_playback, &PlaybackController::volumeChanged, c.Volume, &VolumeBar::showVolume);
    connect(c.Position, &SeekBar::held, m_playback, [this] { m_playback->holdProgress(true); });
    connect(c.Position, &SeekBar::seekRequested, m_playback, &PlaybackController::seekAlong);
    connect(c.Position, &SeekBar::letGo, m_playback, [this] { m_playback->resumeProgress(true); });
    connect(c.Volume, &VolumeBar::held, m_playback, [this] { m_playback->holdProgress(false); });
    connect(c.Volume, &VolumeBar::volumeRequested, m_playback, &PlaybackController::setVolume);
    connect(c.Volume, &VolumeBar::letGo, m_playback, [this] { m_playback->resumeProgress(false); });
    auto* awake = new ScreenSaverHold(this);
    connect(new KeepAwake(*m_engine, this), &KeepAwake::heldChanged, awake,
            &ScreenSaverHold::setHeld);
    connect(this, &FormVideo::unloaded, awake, &ScreenSaverHold::release);
}

void FormVideo::wireCommands()
{
    const PlayerActions& a = *m_actions;
    connect(a.mnuOpen, &QAction::triggered, this, [this] { playlistWindow().add(); });
    connect(a.mnuPrev, &QAction::triggered, m_playlist, &Playlist::PlayPrev);
    connect(a.mnuNext, &QAction::triggered, m_playlist, &Playlist::PlayNext);
    connect(a.playPause, &QAction::triggered, m_playback, &PlaybackController::togglePlay);
    for (const int percent : WindowGeometry::zoomPercents)
        connect(a.zoom(percent), &QAction::triggered, this,
                [this, percent] { m_display->zoom(percent, VideoWidth, VideoHeight); });
    connect(a.mnuFullscreen, &QAction::triggered, m_display, &DisplayCommands::toggleFullScreen);
    connect(a.mnuShowPL, &QAction::triggered, m_docking, &PlaylistDocking::togglePlaylist);
    connect(a.mnuPLSattached, &QAction::triggered, m_docking, &PlaylistDocking::setAttached);
    connect(a.mnuMovieControls, &QAction::triggered, this,
            [this](bool checked) { m_engine->setShowControls(checked); });
    connect(a.mnuMovieStatus, &QAction::triggered, this,
            [this](bool checked) { m_engine->setShowStatusBar(checked); });
    connect(a.mnuStats, &QAction::triggered, this,
            [this] { m_engine->ShowDialog(EngineDialogs::Statistics); });
    connect(a.mnuOptions, &QAction::triggered, this,
            [this] { m_engine->ShowDialog(EngineDialogs::Options); });
    connect(a.mnuMaximize, &QAction::triggered, m_maximiser, &WindowMaximiser::toggle);
    connect(a.mnuMinimize, &QAction::triggered, m_showing, &WindowShowing::minimise);
    connect(a.mnuAbout, &QAction::triggered, m_about, &AboutShowing::show);
    connect(a.mnuExit, &QAction::triggered, this, &QWidget::close);
    KeyCommands::wire(a, *m_playback, *this, m_engine->view(), *m_chrome->Volume);
    new PlaybackKeys(a, *m_playback, *m_engine, *this);
}

void FormVideo::wireChrome()
{
    const PlayerActions& a = *m_actions;
    const MainWindowChrome& c = *m_chrome;
    connect(c.lblOpen, &GlyphLabel::clicked, a.mnuOpen, &QAction::trigger);
    connect(c.lblPrev, &GlyphLabel::clicked, m_playback, &PlaybackController::stepPrevious);
    connect(c.lblPlay, &GlyphLabel::clicked, a.playPause, &QAction::trigger);
    connect(c.lblNext, &GlyphLabel::clicked, m_playback, &PlaybackController::stepNext);
    connect(c.Label5, &GlyphLabel::clicked, a.mnuShowPL, &QAction::trigger);
    connect(c.Label4, &GlyphLabel::clicked, a.mnuMinimize, &QAction::trigger);
    connect(c.Label3, &GlyphLabel::clicked, a.mnuMaximize, &QAction::trigger);
    connect(c.Label3, &GlyphLabel::clicked, m_docking, &PlaylistDocking::dock);
    connect(c.Label3, &GlyphLabel::released, m_docking, &PlaylistDocking::dock);
    connect(c.Label2, &GlyphLabel::clicked, a.mnuExit, &QAction::trigger);
    connect(c.Label2, &GlyphLabel::mouseMoved, this, &Pointer::reset);
    connect(c.Label1, &GlyphLabel::mouseMoved, m_sizeGrip, &SizeGrip::moved);
    connect(c.Label1, &GlyphLabel::released, m_sizeGrip, &SizeGrip::released);

    connect(m_maximiser, &WindowMaximiser::restored, m_docking, &PlaylistDocking::dock);
    connect(m_mover, &WindowMover::surfaceMoved, m_docking, &PlaylistDocking::dock);
    connect(m_mover, &WindowMover::doubleClicked, m_maximiser, &WindowMaximiser::toggle);
    connect(m_mover, &WindowMover::menuRequested, m_mnuFile,
            [this](const QPoint& at) { m_mnuFile->popup(at); });
    connect(a.popupMenu, &QAction::triggered, m_mnuFile,
            [this] { popupOverPicture(*m_mnuFile, *m_engine, *this); });
}

frmSplash* FormVideo::splash() const
{
    return m_about->splash();
}

bool FormVideo::PLSattached() const
{
    return m_docking->PLSattached();
}

PlaylistWindow& FormVideo::playlistWindow()
{
    if (!m_playlistWindow) {
        m_playlistWindow = std::make_unique<PlaylistWindow>(*m_playlist);
        m_playlistWindow->setAttachedReader([this] { return PLSattached(); });
        connect(m_playlistWindow.get(), &PlaylistWindow::refused, m_playback,
                &PlaybackController::tellRefusal);
    }
    return *m_playlistWindow;
}

bool FormVideo::load(const QStringList& arguments)
{
    // Half the screen, before anything else shows.
    if (const QScreen* s = screen())
        resize(s->geometry().width() / 2, s->geometry().height() / 2);

    m_instance = std::make_unique<Startup::SingleInstanceGuard>(m_env.lockPath);
    if (!m_instance->isFirst()) {
        QMessageBox box(QMessageBox::NoIcon, programTitle,
                        QStringLiteral("ORV is allready Running!"), QMessageBox::Ok);
        box.exec();
        modLockSize::UnlockWindowSize();
        m_playlistWindow.reset();
        return false;
    }

    modLockSize::LockWindowSize(this, 3600, 3000, 0, 0);
    m_hotKey =
        std::make_unique<modHotKey::HotKey>(*this, [this] { m_actions->mnuFullscreen->trigger(); });
    m_shellIcon1->setVisible(true);
    m_mpris = std::make_unique<Mpris>(*m_engine, *m_playback, *m_actions,
                                      [this] { m_showing->bringBack(); });
    connect(m_mpris.get(), &Mpris::rateRequested, this,
            [this](double r) { m_engine->setTuning("speed", r); });
    setPictureSize(0, 0);

    // The engine draws only once its window is on screen.
    show();
    StartTrace::mark("window shown");

    if (arguments.isEmpty()) {
        if (m_engine->FileName().isEmpty())
            StartupOpen::picture(*m_engine, m_env.pictureFolder, this);
        return true;
    }
    MPath = Startup::MPathFrom(arguments);
    StartupOpen::commandLine(
        arguments, MPath, [this]() -> PlaylistWindow& { return playlistWindow(); }, *m_playback);
    if (!m_engine->FileName().isEmpty())
        setMediaToolTip();
    return true;
}

void FormVideo::setMediaToolTip()
{
    const QRect r = m_engine->rect();
    const QString text = QStringLiteral("Orvella: ") +
                         Paths::nameAfterLastSeparator(m_engine->FileName()) + u' ' +
                         QString::number(r.width() - 8) + u'x' + QString::number(r.height() - 54);
    m_shellIcon1->setToolTipText(text);
    m_engine->setToolTip(text);
}

void FormVideo::onEntryOpened()
{
    if (!m_engine->FileName().isEmpty())
        setMediaToolTip();
    setPictureSize(m_engine->ImageSourceWidth(), m_engine->ImageSourceHeight());
    m_maximiser->recordRestoreRect();
}

void FormVideo::setPictureSize(int widthPixels, int heightPixels)
{
    const TwipsPerPixel tpp = twipsPerPixel(this);
    const QSize twips = WindowGeometry::pictureTwips(widthPixels, heightPixels, tpp.x, tpp.y);
    VideoWidth = twips.width();
    VideoHeight = twips.height();
}

void FormVideo::onMouseDown(int button, int, double, double)
{
    Pointer::reset();
    if (button == 2)
        m_mnuFile->popup(QCursor::pos());
    else if (button == 1)
        m_docking->dock();
}

void FormVideo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // While the window system holds it minimised or maximised, nothing moves.
    if (m_maximiser->holdsLayout())
        return;
    m_chrome->place();
    // No pass of the event loop before docking: the geometry is already current, and a
    // pass here would take in stale sizes from the window server.
    m_docking->dock();
}

void FormVideo::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void FormVideo::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    modLockSize::UnlockWindowSize();
    m_hotKey.reset();
    m_mpris.reset();
    // Everything of the program goes with this window: its other windows, the sound, the icon
    // and the lock. What the engine reports from here on finds no one.
    m_about->closeForGood();
    m_engine->disconnect(this);
    m_engine->disconnect(m_playback);
    m_playback->progressTimer().stop();
    m_playlist->startupTimer().stop();
    m_engine->shutDown();
    m_shellIcon1->setVisible(false);
    m_instance.reset();
    // The playlist may be on the stack below us (an engine waiting for a file lets a close
    // through), so it is put away now and destroyed with this window.
    if (m_playlistWindow)
        m_playlistWindow->hide();
    emit unloaded();
}
