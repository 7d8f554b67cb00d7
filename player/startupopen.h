// What the program opens once its window shows: the files the command line names, or else the
// start-up picture.
#pragma once

#include <QStringList>
#include <functional>

class MediaEngine;
class PlaybackController;
class PlaylistWindow;
class QWidget;

namespace StartupOpen {

// The playlist window, made when first asked for.
using WindowGetter = std::function<PlaylistWindow&()>;

// One path (all arguments joined, mpath): a playlist file is read, a media file added, and the
// list starts. When that names no file and each argument names a file or folder, they are added
// in order as drops are, and the names that are not there are told.
void commandLine(const QStringList& arguments, const QString& mpath, const WindowGetter& window,
                 PlaybackController& playback);

// The start-up picture from folder, halted; a problem with it is shown over parent.
void picture(MediaEngine& engine, const QString& folder, QWidget* parent);

} // namespace StartupOpen
