#include "window/playeractions.h"

#include <QAction>
#include <QKeySequence>

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

QAction* keyed(QAction* action, QList<QKeySequence> keys)
{
    action->setShortcuts(keys);
    // The popup menu shows the first key beside the caption.
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

PlayerActions::PlayerActions(QObject* parent)
    : QObject(parent), mnuOpen(keyed(command(this, "mnuOpen", "Open"),
                                     {QKeySequence(Qt::ControlModifier | Qt::Key_O)})),
      mnuPrev(keyed(command(this, "mnuPrev", "Prev"), {Qt::Key_PageUp})),
      mnuNext(keyed(command(this, "mnuNext", "Next"), {Qt::Key_PageDown})),
      mnu50(command(this, "mnu50", "50%")), mnu75(command(this, "mnu75", "75%")),
      mnu100(command(this, "mnu100", "100%")), mnu200(command(this, "mnu200", "200%")),
      mnuFullscreen(keyed(command(this, "mnuFullscreen", "FullScreen"), {Qt::Key_F, Qt::Key_F11})),
      mnuShowPL(command(this, "mnuShowPL", "Playlist")),
      mnuPLSattached(command(this, "mnuPLSattached", "Attach Playlist", true)),
      mnuMovieControls(command(this, "mnuMovieControls", "Movie Controls", false, true)),
      mnuMovieStatus(command(this, "mnuMovieStatus", "MovieStatus", false, true)),
      mnuStats(command(this, "mnuStats", "Stats")),
      mnuOptions(command(this, "mnuOptions", "Media Options")),
      mnuAbout(command(this, "mnuAbout", "About")),
      mnuMinimize(command(this, "mnuMinimize", "Minimize")),
      mnuMaximize(command(this, "mnuMaximize", "Maximize")),
      mnuExit(
          keyed(command(this, "mnuExit", "Exit"), {QKeySequence(Qt::ControlModifier | Qt::Key_Q)})),
      playPause(keyed(command(this, "playPause", "Play"), {Qt::Key_Space})),
      seekBack(keyed(command(this, "seekBack", "Back 5 s"), {Qt::Key_Left})),
      seekForward(keyed(command(this, "seekForward", "Forward 5 s"), {Qt::Key_Right})),
      seekBackLong(keyed(command(this, "seekBackLong", "Back 60 s"),
                         {QKeySequence(Qt::ShiftModifier | Qt::Key_Left)})),
      seekForwardLong(keyed(command(this, "seekForwardLong", "Forward 60 s"),
                            {QKeySequence(Qt::ShiftModifier | Qt::Key_Right)})),
      volumeUp(keyed(command(this, "volumeUp", "Volume Up"), {Qt::Key_Up})),
      volumeDown(keyed(command(this, "volumeDown", "Volume Down"), {Qt::Key_Down})),
      mute(keyed(command(this, "mute", "Mute"), {Qt::Key_M})),
      popupMenu(keyed(command(this, "popupMenu", "Controls"),
                      {Qt::Key_Menu, QKeySequence(Qt::ShiftModifier | Qt::Key_F10)})),
      speedDown(keyed(command(this, "speedDown", "Slower"), {Qt::Key_BracketLeft})),
      speedUp(keyed(command(this, "speedUp", "Faster"), {Qt::Key_BracketRight})),
      speedHalf(keyed(command(this, "speedHalf", "Half Speed"), {Qt::Key_BraceLeft})),
      speedDouble(keyed(command(this, "speedDouble", "Double Speed"), {Qt::Key_BraceRight})),
      speedNormal(keyed(command(this, "speedNormal", "Normal Speed"), {Qt::Key_Backspace})),
      frameStep(keyed(command(this, "frameStep", "Next Frame"), {Qt::Key_Period})),
      frameBackStep(keyed(command(this, "frameBackStep", "Previous Frame"), {Qt::Key_Comma})),
      screenshot(keyed(command(this, "screenshot", "Screenshot"), {Qt::Key_S})),
      abLoop(keyed(command(this, "abLoop", "A-B Loop"), {Qt::Key_L})),
      loopFile(keyed(command(this, "loopFile", "Loop File", false, true),
                     {QKeySequence(Qt::ShiftModifier | Qt::Key_L)})),
      chapterPrev(keyed(command(this, "chapterPrev", "Previous Chapter"), {Qt::Key_Exclam})),
      chapterNext(keyed(command(this, "chapterNext", "Next Chapter"), {Qt::Key_At})),
      subtitleDelayDown(
          keyed(command(this, "subtitleDelayDown", "Subtitles Earlier"), {Qt::Key_Z})),
      subtitleDelayUp(keyed(command(this, "subtitleDelayUp", "Subtitles Later"), {Qt::Key_X})),
      audioDelayDown(keyed(command(this, "audioDelayDown", "Audio Earlier"),
                           {QKeySequence(Qt::ControlModifier | Qt::Key_Minus)})),
      audioDelayUp(keyed(command(this, "audioDelayUp", "Audio Later"),
                         {QKeySequence(Qt::ControlModifier | Qt::Key_Plus)})),
      subtitles(keyed(command(this, "subtitles", "Subtitles"), {Qt::Key_V})),
      nextSubtitle(keyed(command(this, "nextSubtitle", "Next Subtitle Track"), {Qt::Key_J})),
      nextAudio(keyed(command(this, "nextAudio", "Next Audio Track"), {Qt::Key_NumberSign})),
      showPosition(keyed(command(this, "showPosition", "Show Position"), {Qt::Key_O})),
      onTop(keyed(command(this, "onTop", "On Top", false, true),
                  {QKeySequence(Qt::ShiftModifier | Qt::Key_T)})),
      deinterlace(keyed(command(this, "deinterlace", "Deinterlace"), {Qt::Key_D})),
      nextAspect(keyed(command(this, "nextAspect", "Next Aspect Ratio"),
                       {QKeySequence(Qt::ShiftModifier | Qt::Key_A)})),
      mediaPause(keyed(command(this, "mediaPause", "Pause"), {Qt::Key_MediaPause})),
      mediaStop(keyed(command(this, "mediaStop", "Stop"), {Qt::Key_MediaStop}))
{
    // Keys on commands that had one or none, and the media keys of the keyboard.
    mnuStats->setShortcut(Qt::Key_I);
    mnuStats->setShortcutVisibleInContextMenu(true);
    const auto add = [](QAction* action, QList<QKeySequence> keys) {
        action->setShortcuts(action->shortcuts() + keys);
    };
    add(playPause, {Qt::Key_MediaPlay, Qt::Key_MediaTogglePlayPause});
    add(mnuNext, {Qt::Key_MediaNext});
    add(mnuPrev, {Qt::Key_MediaPrevious});
    add(mute, {Qt::Key_VolumeMute});
    add(volumeUp, {Qt::Key_VolumeUp});
    add(volumeDown, {Qt::Key_VolumeDown});
}

QList<QAction*> PlayerActions::withKeys() const
{
    QList<QAction*> keyedActions;
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        if (!action->shortcuts().isEmpty())
            keyedActions << action;
    return keyedActions;
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
