// The keys mpv's users know (speed, frame steps, screenshots, loops, chapters, delays, tracks,
// on top, picture settings, the keyboard's media keys) and the line the picture shows for every
// key and wheel step. The arithmetic and the words are MpvKeys'; this only wires. Glyph clicks
// that share an action with a key show nothing: a shared action answers on the picture only
// when a key or the wheel triggered it.
#pragma once

#include <QObject>
#include <QPointer>

class MediaEngine;
class PlaybackController;
class PlayerActions;
class QAction;
class QWidget;

class PlaybackKeys : public QObject
{
    Q_OBJECT
public:
    // window: the main window, parent of this; its picture is the engine's view.
    PlaybackKeys(const PlayerActions& actions, PlaybackController& playback, MediaEngine& engine,
                 QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void say(const QString& line);
    void stepSpeed(int step);
    void stepDelay(const char* name, double by);
    void screenshot();
    void setOnTop(bool on);

    const PlayerActions& m_actions;
    PlaybackController& m_playback;
    MediaEngine& m_engine;
    QWidget& m_window;
    // The engine's view, where a double click toggles full screen.
    QPointer<QWidget> m_picture;
};
