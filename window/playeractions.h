// The player's command set: one action per command, named as the popup menu names its items.
// The menu, the glyph buttons, the tray icon, the hot key, the keyboard and the desktop's media
// controls all trigger these same actions.
#pragma once

#include <QList>
#include <QObject>

class QAction;

class PlayerActions : public QObject
{
    Q_OBJECT
public:
    explicit PlayerActions(QObject* parent = nullptr);

    QAction* const mnuOpen;
    QAction* const mnuPrev;
    QAction* const mnuNext;
    QAction* const mnu50;
    QAction* const mnu75;
    QAction* const mnu100;
    QAction* const mnu200;
    QAction* const mnuFullscreen;
    QAction* const mnuShowPL;
    QAction* const mnuPLSattached;   // checked: the playlist docks under the main window
    QAction* const mnuMovieControls; // checked: the engine's control bar is shown
    QAction* const mnuMovieStatus;   // checked: the engine's status line is shown
    QAction* const mnuStats;
    QAction* const mnuOptions;
    QAction* const mnuAbout;
    QAction* const mnuMinimize;
    QAction* const mnuMaximize;
    QAction* const mnuExit;
    // The play button's toggle; no menu item carries it.
    QAction* const playPause;
    // Reached by keys alone (and the wheel, for the volume); no menu item carries them.
    QAction* const seekBack;        // 5 s
    QAction* const seekForward;     // 5 s
    QAction* const seekBackLong;    // 60 s
    QAction* const seekForwardLong; // 60 s
    QAction* const volumeUp;
    QAction* const volumeDown;
    QAction* const mute; // on and off
    // Opens the popup menu over the picture: the keyboard's way to every menu item.
    QAction* const popupMenu;
    // The keys mpv's users know; PlaybackKeys wires them.
    QAction* const speedDown; // -10 %
    QAction* const speedUp;   // +10 %
    QAction* const speedHalf;
    QAction* const speedDouble;
    QAction* const speedNormal;
    QAction* const frameStep;
    QAction* const frameBackStep;
    QAction* const screenshot;
    QAction* const abLoop;   // A, B, off
    QAction* const loopFile; // on and off
    QAction* const chapterPrev;
    QAction* const chapterNext;
    QAction* const subtitleDelayDown;
    QAction* const subtitleDelayUp;
    QAction* const audioDelayDown;
    QAction* const audioDelayUp;
    QAction* const subtitles; // on and off
    QAction* const nextSubtitle;
    QAction* const nextAudio;
    QAction* const showPosition;
    QAction* const onTop; // checked: the main window stays above others
    QAction* const deinterlace;
    QAction* const nextAspect;
    // The keyboard's own media keys, for desktops without a daemon that takes them.
    QAction* const mediaPause;
    QAction* const mediaStop;

    // Every action that answers a key: the windows that take the keys carry these.
    QList<QAction*> withKeys() const;

    // The zoom action for a percentage of zoomPercents.
    QAction* zoom(int percent) const;
};
