// The main window's one menu, "Controls", shown only as a popup: its tree of items built
// from the command set.
#pragma once

class MediaEngine;
class PlayerActions;
class QMenu;
class QWidget;

QMenu* buildPopupMenu(const PlayerActions& actions, QWidget* parent);

// Opened from the keyboard: over the middle of the picture, wherever the pointer is, also in
// full screen.
void popupOverPicture(QMenu& menu, const MediaEngine& engine, const QWidget& window);
