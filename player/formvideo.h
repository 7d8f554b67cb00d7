// The main window: the borderless video window with its glyph buttons, bars and popup
// menu. It starts the program, hands files to the engine and answers the engine's events.
#pragma once

#include <QWidget>
#include <memory>

class AboutShowing;
class DisplayCommands;
class Mpris;
class ShellIcon;
class WindowShowing;
class frmSplash;
class MainWindowChrome;
class MediaEngine;
class PlayerActions;
class PlaylistDocking;
class QMenu;
class PlaybackController;
class Playlist;
class SizeGrip;
class WindowMaximiser;
class WindowMover;
class PlaylistWindow;

namespace modHotKey {
class HotKey;
}
namespace Startup {
class SingleInstanceGuard;
}

class FormVideo : public QWidget
{
    Q_OBJECT
public:
    // Where start-up looks for what it needs; tests point these at their own folders.
    struct Environment
    {
        QString lockPath; // "" for no lock
        QString pictureFolder;
    };
    static Environment defaultEnvironment();

    explicit FormVideo(std::unique_ptr<MediaEngine> engine,
                       Environment environment = defaultEnvironment(), QWidget* parent = nullptr);
    ~FormVideo() override;

    // Loads the window: size, single-instance guard, minimum size, variables, then the
    // command line or the start-up picture. Returns false when another instance runs and
    // this one must end.
    bool load(const QStringList& arguments);

    MediaEngine& MediaPlayer1() const { return *m_engine; }
    // The playlist window, made when first needed; the list itself is there from the start.
    PlaylistWindow& playlistWindow();
    Playlist& playlist() const { return *m_playlist; }
    QMenu* mnuFile() const { return m_mnuFile; }

    // The playlist is docked under the main window.
    bool PLSattached() const;
    QString MPath;
    // Picture size in twips; 32-bit so a 4K picture fits.
    int VideoWidth = 0;
    int VideoHeight = 0;

    PlayerActions& actions() const { return *m_actions; }
    WindowMaximiser& maximiser() const { return *m_maximiser; }
    WindowMover& mover() const { return *m_mover; }
    ShellIcon& ShellIcon1() const { return *m_shellIcon1; }
    // The about window while it is shown.
    frmSplash* splash() const;
    PlaybackController& playback() const { return *m_playback; }

signals:
    // The window has unloaded: the program's other windows are closed, the engine is stopped
    // and the single-instance lock is free. The program ends here.
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void wirePlayback();
    void onMouseDown(int button, int shift, double x, double y);
    void wireCommands();
    void wireChrome();
    void onEntryOpened();
    void setMediaToolTip();
    void setPictureSize(int widthPixels, int heightPixels);
    void unload();

    std::unique_ptr<MediaEngine> m_engine;
    Environment m_env;
    std::unique_ptr<Startup::SingleInstanceGuard> m_instance;
    std::unique_ptr<PlaylistWindow> m_playlistWindow;
    std::unique_ptr<modHotKey::HotKey> m_hotKey;
    std::unique_ptr<Mpris> m_mpris;
    Playlist* m_playlist;
    PlaybackController* m_playback;
    PlayerActions* m_actions;
    MainWindowChrome* m_chrome;
    QMenu* m_mnuFile;
    WindowMaximiser* m_maximiser;
    WindowMover* m_mover;
    SizeGrip* m_sizeGrip;
    PlaylistDocking* m_docking;
    DisplayCommands* m_display;
    ShellIcon* m_shellIcon1;
    WindowShowing* m_showing;
    AboutShowing* m_about;
    bool m_unloaded = false;
};
