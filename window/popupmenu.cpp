#include "window/popupmenu.h"

#include "engine/mediaengine.h"
#include "window/playeractions.h"

#include <QAction>
#include <QMenu>

namespace {

QMenu* submenu(QMenu* parent, const char* name, const char* caption)
{
    QMenu* menu = parent->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void separator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

QMenu* buildPopupMenu(const PlayerActions& a, QWidget* parent)
{
    auto* mnuFile = new QMenu(QStringLiteral("Controls"), parent);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(a.mnuOpen);
    separator(mnuFile, "space8");
    QMenu* mnuMedia = submenu(mnuFile, "mnuMedia", "Media");
    QMenu* options = submenu(mnuMedia, "mnushowOptions", "Options");
    options->addActions({a.mnuMovieControls, a.mnuMovieStatus, a.mnuPLSattached});
    separator(mnuMedia, "space2");
    mnuMedia->addActions({a.mnuPrev, a.mnuNext});
    separator(mnuMedia, "space7");
    QMenu* mnuSize = submenu(mnuMedia, "mnuSize", "Size");
    mnuSize->addActions({a.mnu50, a.mnu75, a.mnu100, a.mnu200});
    separator(mnuSize, "space1");
    mnuSize->addAction(a.mnuFullscreen);
    separator(mnuMedia, "space3");
    mnuMedia->addActions({a.mnuStats, a.mnuOptions});
    mnuFile->addAction(a.mnuShowPL);
    separator(mnuFile, "space4");
    mnuFile->addAction(a.mnuAbout);
    separator(mnuFile, "space5");
    mnuFile->addActions({a.mnuMinimize, a.mnuMaximize});
    separator(mnuFile, "space6");
    mnuFile->addAction(a.mnuExit);
    return mnuFile;
}

void popupOverPicture(QMenu& menu, const MediaEngine& engine, const QWidget& window)
{
    const QWidget* view = engine.view();
    menu.popup(view && view->isVisible() ? view->mapToGlobal(view->rect().center())
                                         : window.mapToGlobal(engine.rect().center()));
}
