// How the picture is shown: full screen and back, the zoom sizes of the main window, and the
// engine's own control bar, whose menu check follows it.
#pragma once

#include <QObject>

class MediaEngine;
class QAction;
class QWidget;

class DisplayCommands : public QObject
{
    Q_OBJECT
public:
    DisplayCommands(QWidget& window, MediaEngine& engine, QAction& movieControls);

    void toggleFullScreen();
    // After the engine left full screen by itself: back to the windowed settings.
    void windowedModeCheck();
    // Sizes the window to show the picture (native size in twips) at percent; nothing
    // while no file is open.
    void zoom(int percent, int videoWidth, int videoHeight);

private:
    QWidget& m_window;
    MediaEngine& m_engine;
    QAction& m_movieControls;
};
