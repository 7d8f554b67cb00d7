#include "player/keycommands.h"

#include "player/playbackcontroller.h"
#include "window/playeractions.h"
#include "window/wheelsteps.h"

#include <QAction>
#include <QWidget>

namespace KeyCommands {

void wire(const PlayerActions& a, PlaybackController& playback, QWidget& window, QWidget* picture,
          QWidget& volumeBar)
{
    PlaybackController* p = &playback;
    QObject::connect(a.seekBack, &QAction::triggered, p, [p] { p->seekBy(-shortSeek); });
    QObject::connect(a.seekForward, &QAction::triggered, p, [p] { p->seekBy(shortSeek); });
    QObject::connect(a.seekBackLong, &QAction::triggered, p, [p] { p->seekBy(-longSeek); });
    QObject::connect(a.seekForwardLong, &QAction::triggered, p, [p] { p->seekBy(longSeek); });
    QObject::connect(a.volumeUp, &QAction::triggered, p, [p] { p->stepVolume(1); });
    QObject::connect(a.volumeDown, &QAction::triggered, p, [p] { p->stepVolume(-1); });
    QObject::connect(a.mute, &QAction::triggered, p, &PlaybackController::toggleMute);

    // A window-wide key answers wherever its window is active. The full-screen picture is a
    // window of its own; an application-wide key would take the playlist's keys from its list.
    const QList<QAction*> keyed = a.withKeys();
    window.addActions(keyed);
    if (picture)
        picture->addActions(keyed);

    auto* wheel = new WheelSteps(*a.volumeUp, *a.volumeDown, &window);
    wheel->watch(picture);
    wheel->watch(&volumeBar);
}

} // namespace KeyCommands
