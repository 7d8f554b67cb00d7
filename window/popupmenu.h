// The main window's one menu, "Controls", shown only as a popup: its tree of items built
// from the command set.
#pragma once

class PlayerActions;
class QMenu;
class QWidget;

QMenu* buildPopupMenu(const PlayerActions& actions, QWidget* parent);
