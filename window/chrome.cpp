#include "window/chrome.h"

#include "common/twips.h"
#include "controls/glyphlabel.h"
#include "controls/screentwips.h"
#include "engine/mediaengine.h"
#include "window/bars.h"
#include "window/layout.h"

namespace {

GlyphLabel* glyph(QWidget& window, const char* name, const char* caption, const char* tip)
{
    return new GlyphLabel(QString::fromLatin1(name), QString::fromLatin1(caption),
                          QString::fromLatin1(tip), &window);
}

} // namespace

MainWindowChrome::MainWindowChrome(QWidget& window, MediaEngine& engine)
    : QObject(&window), lblOpen(glyph(window, "lblOpen", "7", "Open")),
      lblPrev(glyph(window, "lblPrev", "3", "Previous")),
      lblPlay(glyph(window, "lblPlay", "8", "Play")),
      lblNext(glyph(window, "lblNext", "4", "Next")),
      Label5(glyph(window, "Label5", "P", "Toggle Playlist")),
      Label4(glyph(window, "Label4", "q", "Minimize")),
      Label3(glyph(window, "Label3", "1", "Maximize")),
      Label2(glyph(window, "Label2", "r", "Exit")), Label1(glyph(window, "Label1", "o", "Resize")),
      Position(new SeekBar(&window)), Volume(new VolumeBar(&window)), m_window(window),
      m_engine(engine)
{
    // The other glyphs are named by what they draw; this one draws a letter.
    Label5->setAccessibleName(QStringLiteral("Playlist"));
    Position->setAccessibleName(QStringLiteral("Position"));
    Volume->setAccessibleName(QStringLiteral("Volume"));
}

void MainWindowChrome::place()
{
    const TwipsPerPixel tpp = twipsPerPixel(&m_window);
    const Layout::MainWindow l = Layout::mainWindow(Twips::fromPixels(m_window.width(), tpp.x),
                                                    Twips::fromPixels(m_window.height(), tpp.y));
    const auto place = [&](QWidget* w, const QRect& twips) {
        w->setGeometry(Twips::toPixels(twips, tpp.x, tpp.y));
    };
    place(Label1, l.Label1);
    place(Label2, l.Label2);
    place(Label3, l.Label3);
    place(Label4, l.Label4);
    place(Label5, l.Label5);
    place(lblOpen, l.lblOpen);
    place(lblPrev, l.lblPrev);
    place(lblPlay, l.lblPlay);
    place(lblNext, l.lblNext);
    place(Position, l.Position);
    place(Volume, l.Volume);
    // The volume fill is drawn full after every resize, whatever the engine's volume.
    Volume->setFillWidth(Volume->barWidth());
    m_engine.setRect(Twips::toPixels(l.engine, tpp.x, tpp.y));
}
