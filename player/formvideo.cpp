#include "player/formvideo.h"

#include "controls/glyphlabel.h"
#include "controls/modlocksize.h"
#include "controls/screentwips.h"
#include "controls/twips.h"
#include "engine/mediaengine.h"
#include "player/playbackcontrol.h"
#include "player/startup.h"
#include "playlist/displayname.h"
#include "playlist/formpls.h"
#include "window/layout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>

namespace {

const QString programTitle = QStringLiteral("Orvella");

// The width of a sound-only file's "picture", in pixels.
constexpr int noPictureWidthPixels = 320;

void warn(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Warning"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace

FormVideo::Environment FormVideo::defaultEnvironment()
{
    return {Startup::defaultLockPath(), QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

FormVideo::FormVideo(std::unique_ptr<MediaEngine> engine, Environment environment, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_engine(std::move(engine)),
      m_env(std::move(environment))
{
    setObjectName(QStringLiteral("FormVideo"));
    setWindowTitle(programTitle);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    setPalette(pal);
    setMouseTracking(true);

    buildControls();
    buildMenu();

    m_engine->setParent(nullptr);
    if (QWidget* view = m_engine->view())
        view->setParent(this);
    m_engine->setToolTip(QStringLiteral("Orvella: Right-Click to load a file"));
    connect(m_engine.get(), &MediaEngine::PlayStateChange, this, &FormVideo::onPlayStateChange);
    connect(m_engine.get(), &MediaEngine::OpenStateChange, this, &FormVideo::onOpenStateChange);
    connect(m_engine.get(), &MediaEngine::MouseDown, this, &FormVideo::onMouseDown);
    connect(m_engine.get(), &MediaEngine::KeyUp, this, &FormVideo::windowedModeCheck);
    connect(m_engine.get(), &MediaEngine::DisplayModeChange, this, &FormVideo::windowedModeCheck);
}

FormVideo::~FormVideo()
{
    unload();
    // The engine's picture lives among this window's children; the engine goes first.
    m_engine.reset();
}

void FormVideo::buildControls()
{
    const auto glyph = [this](const char* name, const char* caption, const char* tip) {
        return new GlyphLabel(QString::fromLatin1(name), QString::fromLatin1(caption),
                              QString::fromLatin1(tip), this);
    };
    auto* lblOpen = glyph("lblOpen", "7", "Open");
    auto* lblPrev = glyph("lblPrev", "3", "Previous");
    m_lblPlay = glyph("lblPlay", "8", "Play");
    auto* lblNext = glyph("lblNext", "4", "Next");
    auto* label5 = glyph("Label5", "P", "Toggle Playlist");
    glyph("Label4", "q", "Minimize");
    glyph("Label3", "1", "Maximize");
    auto* label2 = glyph("Label2", "r", "Exit");
    glyph("Label1", "o", "Resize");
    connect(lblOpen, &GlyphLabel::clicked, this, [this] { playlistWindow().add(); });

    connect(lblPrev, &GlyphLabel::clicked, this, &FormVideo::prevClicked);
    connect(m_lblPlay, &GlyphLabel::clicked, this, &FormVideo::playClicked);
    connect(lblNext, &GlyphLabel::clicked, this, &FormVideo::nextClicked);
    connect(label5, &GlyphLabel::clicked, this, [this] {
        formPLS& pls = playlistWindow();
        pls.setVisible(!pls.isVisible());
    });
    connect(label2, &GlyphLabel::clicked, this, &QWidget::close);

    const auto bar = [this](const char* name, const char* fillName) {
        auto* box = new QWidget(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAutoFillBackground(true);
        QPalette p = box->palette();
        p.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
        box->setPalette(p);
        auto* fill = new QWidget(box);
        fill->setObjectName(QString::fromLatin1(fillName));
        fill->setAutoFillBackground(true);
        p.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
        fill->setPalette(p);
        return std::pair{box, fill};
    };
    std::tie(m_position, m_shapescroll) = bar("Position", "Shapescroll");
    std::tie(m_volume, m_volumeBar) = bar("Volume", "VolumeBar");
    m_shapescroll->resize(0, 0);

    m_timerscroll = new QTimer(this);
    m_timerscroll->setObjectName(QStringLiteral("Timerscroll"));
    m_timerscroll->setInterval(500);
    connect(m_timerscroll, &QTimer::timeout, this, &FormVideo::timerscrollTick);
    m_timerscroll->start();
}

QAction* FormVideo::menuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void FormVideo::buildMenu()
{
    m_mnuFile = new QMenu(QStringLiteral("Controls"), this);
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction* mnuOpen = menuItem(m_mnuFile, "mnuOpen", QStringLiteral("Open"));
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("space8"));
    QMenu* mnuMedia = m_mnuFile->addMenu(QStringLiteral("Media"));
    mnuMedia->setObjectName(QStringLiteral("mnuMedia"));
    QMenu* options = mnuMedia->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("mnushowOptions"));
    m_mnuMovieControls = menuItem(options, "mnuMovieControls", QStringLiteral("Movie Controls"));
    m_mnuMovieControls->setCheckable(true);
    m_mnuPLSattached = menuItem(options, "mnuPLSattached", QStringLiteral("Attach Playlist"));
    m_mnuPLSattached->setCheckable(true);
    m_mnuPLSattached->setChecked(true);
    mnuMedia->addSeparator()->setObjectName(QStringLiteral("space2"));
    QAction* mnuPrev = menuItem(mnuMedia, "mnuPrev", QStringLiteral("Prev"));
    QAction* mnuNext = menuItem(mnuMedia, "mnuNext", QStringLiteral("Next"));
    mnuMedia->addSeparator()->setObjectName(QStringLiteral("space7"));
    QMenu* mnuSize = mnuMedia->addMenu(QStringLiteral("Size"));
    mnuSize->setObjectName(QStringLiteral("mnuSize"));
    QAction* mnuFullscreen = menuItem(mnuSize, "mnuFullscreen", QStringLiteral("FullScreen"));
    QAction* mnuShowPL = menuItem(m_mnuFile, "mnuShowPL", QStringLiteral("Playlist"));
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("space6"));
    QAction* mnuExit = menuItem(m_mnuFile, "mnuExit", QStringLiteral("Exit"));

    connect(mnuOpen, &QAction::triggered, this, [this] { playlistWindow().add(); });
    connect(mnuPrev, &QAction::triggered, this, [this] { playlistWindow().PlayPrev(); });
    connect(mnuNext, &QAction::triggered, this, [this] { playlistWindow().PlayNext(); });
    connect(mnuFullscreen, &QAction::triggered, this,
            [this] { m_mnuMovieControls->setChecked(Playback::toggleFullScreen(*m_engine)); });
    connect(mnuShowPL, &QAction::triggered, this, [this] {
        formPLS& pls = playlistWindow();
        pls.setVisible(!pls.isVisible());
    });
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
}

formPLS& FormVideo::playlistWindow()
{
    if (!m_formPLS) {
        m_formPLS = std::make_unique<formPLS>();
        Playlist& playlist = m_formPLS->playlist();
        playlist.setLoadFile([this](const QString& path) { return LoadPLFile(path); });
        playlist.setIsPlaying([this] { return m_engine->PlayState() == PlayStates::Playing; });
    }
    return *m_formPLS;
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
        m_formPLS.reset();
        return false;
    }

    modLockSize::LockWindowSize(this, 3600, 3000, 0, 0);
    maximised = false;
    // The system-wide full-screen hot key is registered here.
    PLSattached = m_mnuPLSattached->isChecked();
    VideoHeight = 0;
    VideoWidth = Twips::fromPixels(noPictureWidthPixels, twipsPerPixel(this).x);

    // The engine draws only once its window is on screen.
    show();

    if (arguments.isEmpty()) {
        if (m_engine->FileName().isEmpty()) {
            const QString picture = startupPicture();
            if (!picture.isEmpty() && m_engine->setFileName(picture))
                m_engine->Pause();
        }
        return true;
    }
    MPath = Startup::MPathFrom(arguments);
    OpenMediaPath();
    if (!m_engine->FileName().isEmpty())
        setMediaToolTip();
    return true;
}

QString FormVideo::startupPicture()
{
    const QString folder =
        Startup::writableProgramFolder(m_env.programFolder, m_env.userDataFolder);
    if (!QFileInfo(folder).isDir()) {
        warn(this, QStringLiteral("%1:Error in Main.  Error Message: ").arg(ENOENT) +
                       QStringLiteral("No folder for the start-up picture: ") + folder);
        return {};
    }
    Startup::ResourceResult written;
    const QString path = Startup::startupPicturePath(folder, &written);
    if (!written.errorText.isEmpty())
        warn(this, written.errorText);
    return path;
}

void FormVideo::OpenMediaPath()
{
    if (MPath.isEmpty())
        return;
    formPLS& pls = playlistWindow();
    if (Startup::isPlaylistPath(MPath)) {
        pls.PullFromORV(MPath);
        pls.Go();
        return;
    }
    pls.playlist().append(MPath, Getfilename(MPath));
    pls.Go();
}

QString FormVideo::Getfilename(const QString& strPath)
{
    return Paths::nameAfterLastSeparator(strPath);
}

void FormVideo::setMediaToolTip()
{
    const QRect r = m_engine->rect();
    m_mediaToolTip = QStringLiteral("Orvella: ") + Getfilename(m_engine->FileName()) + u' ' +
                     QString::number(r.width() - 8) + u'x' + QString::number(r.height() - 54);
    m_engine->setToolTip(m_mediaToolTip);
}

bool FormVideo::LoadPLFile(const QString& tmp)
{
    if (tmp.isEmpty())
        return false;
    QString path = tmp;
    path.remove(u'"');
    if (!m_engine->setFileName(path))
        return false;
    if (!m_engine->FileName().isEmpty())
        setMediaToolTip();
    VideoHeight = Twips::fromPixels(m_engine->ImageSourceHeight(), twipsPerPixel(this).y);
    VideoWidth = Twips::fromPixels(m_engine->ImageSourceWidth(), twipsPerPixel(this).x);
    if (m_engine->ImageSourceHeight() == 0) {
        VideoHeight = 0;
        VideoWidth = Twips::fromPixels(noPictureWidthPixels, twipsPerPixel(this).x);
    }
    const QRect g = geometry();
    restoreRect = QRect(Twips::fromPixels(g.x(), twipsPerPixel(this).x),
                        Twips::fromPixels(g.y(), twipsPerPixel(this).y),
                        Twips::fromPixels(g.width(), twipsPerPixel(this).x),
                        Twips::fromPixels(g.height(), twipsPerPixel(this).y));
    return true;
}

void FormVideo::onPlayStateChange(int, int newState)
{
    Playlist& playlist = playlistWindow().playlist();
    playlist.refreshCount();
    const Playback::PlayButton button = Playback::playButtonFor(newState);
    m_lblPlay->setText(button.caption);
    m_lblPlay->setToolTip(button.toolTip);
    if (button.timerOn)
        m_timerscroll->start();
    else
        m_timerscroll->stop();
    if (Playback::reachedEnd(m_engine->FileName(), m_engine->Duration(),
                             m_engine->CurrentPosition())) {
        // Queued: the next file opens after the engine has finished reporting this one.
        QTimer::singleShot(0, this, [this] { playlistWindow().PlayNext(); });
    }
}

void FormVideo::onOpenStateChange(int, int)
{
    m_shapescroll->resize(0, m_shapescroll->height());
}

void FormVideo::onMouseDown(int button, int, double, double)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (button == 2)
        m_mnuFile->popup(QCursor::pos());
}

void FormVideo::windowedModeCheck()
{
    if (Playback::applyWindowedMode(*m_engine))
        m_mnuMovieControls->setChecked(false);
}

void FormVideo::timerscrollTick()
{
    const double tpp = twipsPerPixel(this).x;
    const int barTwips = Twips::fromPixels(m_position->width(), tpp);
    const auto width =
        Playback::seekFillWidth(m_engine->CurrentPosition(), m_engine->Duration(), barTwips);
    if (width)
        m_shapescroll->resize(Twips::toPixels(*width, tpp), m_position->height());
}

void FormVideo::playClicked()
{
    Playback::togglePlay(*m_engine);
}

void FormVideo::prevClicked()
{
    if (Playback::stepAllowed(playlistWindow().lbltotalfilesCaption()))
        playlistWindow().PlayPrev();
}

void FormVideo::nextClicked()
{
    if (Playback::stepAllowed(playlistWindow().lbltotalfilesCaption()))
        playlistWindow().PlayNext();
}

void FormVideo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return;
    const double tppX = twipsPerPixel(this).x;
    const double tppY = twipsPerPixel(this).y;
    const Layout::MainWindow l =
        Layout::mainWindow(Twips::fromPixels(width(), tppX), Twips::fromPixels(height(), tppY));
    const auto place = [&](const char* name, const QRect& twips) {
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly))
            w->setGeometry(Twips::toPixels(twips, tppX, tppY));
    };
    place("lblOpen", l.lblOpen);
    place("lblPrev", l.lblPrev);
    place("lblPlay", l.lblPlay);
    place("lblNext", l.lblNext);
    place("Label5", l.Label5);
    place("Label4", l.Label4);
    place("Label3", l.Label3);
    place("Label2", l.Label2);
    place("Label1", l.Label1);
    place("Position", l.Position);
    place("Volume", l.Volume);
    m_shapescroll->setGeometry(0, 0, m_shapescroll->width(), m_position->height());
    m_volumeBar->setGeometry(0, 0, m_volume->width(), m_volume->height());
    m_engine->setRect(Twips::toPixels(l.engine, tppX, tppY));
}

void FormVideo::mousePressEvent(QMouseEvent* event)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (event->button() == Qt::RightButton)
        m_mnuFile->popup(event->globalPosition().toPoint());
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
    // The playlist may be on the stack below us (an engine waiting for a file lets a close
    // through), so it is put away now and destroyed with this window.
    if (m_formPLS) {
        m_formPLS->playlist().Timer1().stop();
        m_formPLS->hide();
    }
}
