#include "window/displaycommands.h"

#include "common/twips.h"
#include "controls/modlocksize.h"
#include "controls/screentwips.h"
#include "engine/mediaengine.h"
#include "window/geometry.h"
#include "window/playbackdisplay.h"

#include <QAction>
#include <QWidget>

DisplayCommands::DisplayCommands(QWidget& window, MediaEngine& engine, QAction& movieControls)
    : QObject(&window), m_window(window), m_engine(engine), m_movieControls(movieControls)
{
}

void DisplayCommands::toggleFullScreen()
{
    m_movieControls.setChecked(PlaybackDisplay::toggleFullScreen(m_engine));
}

void DisplayCommands::windowedModeCheck()
{
    if (PlaybackDisplay::applyWindowedMode(m_engine))
        m_movieControls.setChecked(false);
}

void DisplayCommands::zoom(int percent, int videoWidth, int videoHeight)
{
    if (m_engine.FileName().isEmpty())
        return;
    m_movieControls.setChecked(false);
    m_engine.setShowControls(false);
    m_engine.setDisplaySize(DisplaySizes::Fitted);
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    const QSize twips =
        WindowGeometry::zoomedWindow(videoWidth, videoHeight, percent, tpp.x, tpp.y,
                                     {m_engine.ShowStatusBar(), m_engine.ShowControls()});
    // Asked for as it is, also beyond the work area: the window system may limit it, and the
    // popup menu on the picture stays in reach to size it back.
    modLockSize::resizeOwn(
        m_window, {Twips::toPixels(twips.width(), tpp.x), Twips::toPixels(twips.height(), tpp.y)});
}
