// The main window: the borderless video window with its glyph buttons, bars and popup
// menu. It starts the program, hands files to the engine and answers the engine's events.
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

class GlyphLabel;
class MediaEngine;
class QAction;
class QMenu;
class QTimer;
class formPLS;

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
        QString lockPath;
        QString programFolder;
        QString userDataFolder;
    };
    static Environment defaultEnvironment();

    explicit FormVideo(std::unique_ptr<MediaEngine> engine,
                       Environment environment = defaultEnvironment(), QWidget* parent = nullptr);
    ~FormVideo() override;

    // Loads the window: size, single-instance guard, minimum size, variables, then the
    // command line or the start-up picture. Returns false when another instance runs and
    // this one must end.
    bool load(const QStringList& arguments);

    // Opens tmp in the engine; true when the engine took it.
    bool LoadPLFile(const QString& tmp);
    static QString Getfilename(const QString& strPath);

    MediaEngine& MediaPlayer1() const { return *m_engine; }
    formPLS& playlistWindow();
    QMenu* mnuFile() const { return m_mnuFile; }
    QString mediaToolTip() const { return m_mediaToolTip; }

    // Window state other parts read.
    bool PLSattached = true;
    int StartDragX = 0;
    int StartDragY = 0;
    bool boolis = false;
    QString MPath;
    // Picture size in twips; 32-bit so a 4K picture fits.
    int VideoWidth = 0;
    int VideoHeight = 0;
    bool maximised = false;
    QRect restoreRect; // twips: left, top, width, height

    // Replies, public so tests drive them as the events would.
    void onPlayStateChange(int oldState, int newState);
    void onOpenStateChange(int oldState, int newState);
    void onMouseDown(int button, int shift, double x, double y);
    void windowedModeCheck();
    void timerscrollTick();
    void playClicked();
    void prevClicked();
    void nextClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void OpenMediaPath();
    QString startupPicture();
    void setMediaToolTip();
    void unload();
    QAction* menuItem(QMenu* menu, const char* name, const QString& caption);

    std::unique_ptr<MediaEngine> m_engine;
    Environment m_env;
    std::unique_ptr<Startup::SingleInstanceGuard> m_instance;
    std::unique_ptr<formPLS> m_formPLS;
    GlyphLabel* m_lblPlay = nullptr;
    QWidget* m_position = nullptr;
    QWidget* m_shapescroll = nullptr;
    QWidget* m_volume = nullptr;
    QWidget* m_volumeBar = nullptr;
    QTimer* m_timerscroll = nullptr;
    QMenu* m_mnuFile = nullptr;
    QAction* m_mnuMovieControls = nullptr;
    QAction* m_mnuPLSattached = nullptr;
    QString m_mediaToolTip;
    bool m_unloaded = false;
};
