// The main window's chrome: the glyph buttons and the two bars, and where the resize reply
// puts them for the window's present size.
#pragma once

#include <QObject>

class GlyphLabel;
class MediaEngine;
class QWidget;
class SeekBar;
class VolumeBar;

class MainWindowChrome : public QObject
{
    Q_OBJECT
public:
    MainWindowChrome(QWidget& window, MediaEngine& engine);

    GlyphLabel* const lblOpen;
    GlyphLabel* const lblPrev;
    GlyphLabel* const lblPlay;
    GlyphLabel* const lblNext;
    GlyphLabel* const Label5; // playlist toggle
    GlyphLabel* const Label4; // minimise
    GlyphLabel* const Label3; // maximise toggle
    GlyphLabel* const Label2; // close
    GlyphLabel* const Label1; // size grip
    SeekBar* const Position;
    VolumeBar* const Volume;

    // Places every control and the engine's rectangle for the window's present size.
    void place();

private:
    QWidget& m_window;
    MediaEngine& m_engine;
};
