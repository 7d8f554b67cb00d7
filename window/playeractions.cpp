#include "window/playeractions.h"

#include <QAction>

namespace {

QAction* command(QObject* parent, const char* name, const char* caption, bool checked = false,
                 bool checkable = false)
{
    auto* action = new QAction(QString::fromLatin1(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable || checked);
    action->setChecked(checked);
    return action;
}

} // namespace

PlayerActions::PlayerActions(QObject* parent)
    : QObject(parent), mnuOpen(command(this, "mnuOpen", "Open")),
      mnuPrev(command(this, "mnuPrev", "Prev")), mnuNext(command(this, "mnuNext", "Next")),
      mnu50(command(this, "mnu50", "50%")), mnu75(command(this, "mnu75", "75%")),
      mnu100(command(this, "mnu100", "100%")), mnu200(command(this, "mnu200", "200%")),
      mnuFullscreen(command(this, "mnuFullscreen", "FullScreen")),
      mnuShowPL(command(this, "mnuShowPL", "Playlist")),
      mnuPLSattached(command(this, "mnuPLSattached", "Attach Playlist", true)),
      mnuMovieControls(command(this, "mnuMovieControls", "Movie Controls", false, true)),
      mnuMovieStatus(command(this, "mnuMovieStatus", "MovieStatus", false, true)),
      mnuStats(command(this, "mnuStats", "Stats")),
      mnuOptions(command(this, "mnuOptions", "Media Options")),
      mnuAbout(command(this, "mnuAbout", "About")),
      mnuMinimize(command(this, "mnuMinimize", "Minimize")),
      mnuMaximize(command(this, "mnuMaximize", "Maximize")),
      mnuExit(command(this, "mnuExit", "Exit")), playPause(command(this, "playPause", "Play"))
{
}

QAction* PlayerActions::zoom(int percent) const
{
    switch (percent) {
    case 50:
        return mnu50;
    case 75:
        return mnu75;
    case 200:
        return mnu200;
    default:
        return mnu100;
    }
}
