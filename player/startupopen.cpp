#include "player/startupopen.h"

#include "engine/mediaengine.h"
#include "player/playbackcontroller.h"
#include "player/startup.h"
#include "playlist/displayname.h"
#include "playlist/orvformat.h"
#include "playlist/playlistwindow.h"

#include <QMessageBox>

namespace StartupOpen {

void commandLine(const QStringList& arguments, const QString& mpath, const WindowGetter& window,
                 PlaybackController& playback)
{
    if (const Startup::Named named = Startup::pathsFrom(arguments); !named.paths.isEmpty()) {
        for (const QString& refusal : named.refusals)
            playback.tellRefusal(refusal);
        window().addDropped(named.paths);
        return;
    }
    if (mpath.isEmpty())
        return;
    PlaylistWindow& pls = window();
    if (OrvFormat::isPlaylistPath(mpath))
        pls.PullFromORV(mpath);
    else
        pls.playlist().append(mpath, Paths::nameAfterLastSeparator(mpath));
    pls.Go();
}

void picture(MediaEngine& engine, const QString& folder, QWidget* parent)
{
    const Startup::StartupPicture picture = Startup::startupPicture(folder);
    if (!picture.warning.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Warning"), picture.warning,
                        QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    if (!picture.path.isEmpty() && engine.setFileName(picture.path))
        engine.Pause();
}

} // namespace StartupOpen
