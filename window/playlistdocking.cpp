#include "window/playlistdocking.h"

#include "common/twips.h"
#include "controls/screentwips.h"
#include "window/geometry.h"

#include <QScreen>
#include <QWidget>
#include <limits>

PlaylistDocking::PlaylistDocking(QWidget& mainWindow, WindowFinder playlistWindow, bool attached)
    : QObject(&mainWindow), m_main(mainWindow), m_playlistWindow(std::move(playlistWindow)),
      m_attached(attached)
{
}

void PlaylistDocking::place(QWidget& playlist)
{
    const TwipsPerPixel tpp = twipsPerPixel(&m_main);
    const QScreen* screen = m_main.screen();
    // The bottom of the main window's own screen, wherever it lies among several.
    const int screenBottom =
        screen ? Twips::fromPixels(screen->geometry().y() + screen->geometry().height(), tpp.y)
               : std::numeric_limits<int>::max();
    const QPoint at = WindowGeometry::dockedPlaylist(
        WindowGeometry::toTwips(m_main.frameGeometry(), tpp.x, tpp.y),
        QSize(Twips::fromPixels(playlist.frameGeometry().width(), tpp.x),
              Twips::fromPixels(playlist.frameGeometry().height(), tpp.y)),
        screenBottom);
    playlist.move(Twips::toPixels(at.x(), tpp.x), Twips::toPixels(at.y(), tpp.y));
}

void PlaylistDocking::dock()
{
    QWidget* playlist = m_playlistWindow(false);
    if (playlist && playlist->isVisible() && m_attached)
        place(*playlist);
}

void PlaylistDocking::setAttached(bool attached)
{
    m_attached = attached;
    if (attached)
        place(*m_playlistWindow(true));
}

void PlaylistDocking::togglePlaylist()
{
    QWidget& playlist = *m_playlistWindow(true);
    if (playlist.isVisible()) {
        playlist.hide();
        return;
    }
    if (m_attached)
        place(playlist);
    playlist.show();
}
