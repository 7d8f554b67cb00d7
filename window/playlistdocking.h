// Keeps the attached playlist window under the main window: centred below it, or with the
// bottom edges level when it would leave the screen.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

class PlaylistDocking : public QObject
{
    Q_OBJECT
public:
    // playlistWindow gives the playlist window, creating it when create is true; it may
    // return null when it is not created yet.
    using WindowFinder = std::function<QWidget*(bool create)>;

    PlaylistDocking(QWidget& mainWindow, WindowFinder playlistWindow, bool attached);

    // The playlist is docked under the main window.
    bool PLSattached() const { return m_attached; }

    // Docks the playlist window when it is visible and attached.
    void dock();
    // The attach toggle: attaching places the playlist window, shown or not.
    void setAttached(bool attached);
    // Hides a shown playlist window; shows a hidden one, docked when attached.
    void togglePlaylist();

private:
    void place(QWidget& playlist);

    QWidget& m_main;
    WindowFinder m_playlistWindow;
    bool m_attached;
};
