// The playlist window: a small always-on-top window that shows the playlist's entries
// and carries its buttons. The entries and the steps through them live in Playlist, which the
// window is given and only draws.
#pragma once

#include "controls/filedialogdriver.h"
#include "playlist/folderscan.h"
#include "playlist/playlist.h"

#include <QWidget>
#include <functional>
#include <memory>

class CommonDialog;
class QLabel;
class QTreeView;
class GlyphLabel;
class picSlider;

// The open dialog's choices: the media types, then the playlist type, the first one chosen.
// After them, what else the engine plays (the types a folder scan takes after its own), and
// any file at all.
inline const QString MediaFilter =
    QStringLiteral("Supported Media Files|*.avi;*.asf;*.mpg;*.mpeg;*.wmv;*.divx;*.dat;*.orv|"
                   "Divx/Avi files (divx avi)|*.avi;*.divx|"
                   "Mpeg/MPG/Dat files (mpg mpeg dat)|*.mpg;*.mpeg;*.dat|"
                   "Windows Media files (asf wmv)|*.asf;*.wmv|"
                   "Orvella Playlist (orv)|*.orv|"
                   "Other media files|") +
    FolderScan::otherPatternsFilter() + QStringLiteral("|All files|*");
inline const QString PlaylistFilter = QStringLiteral("Orvella Playlist (orv)|*.orv");
inline const QString OpenDialogTitle = QStringLiteral("Choose media to play");

class PlaylistWindow : public QWidget
{
    Q_OBJECT
public:
    // dialogs answers the file and folder choosers; Qt's own dialogs when null.
    explicit PlaylistWindow(Playlist& playlist, std::unique_ptr<FileDialogDriver> dialogs = nullptr,
                            QWidget* parent = nullptr);
    ~PlaylistWindow() override;

    Playlist& playlist() { return m_playlist; }

    void firstGo() { m_playlist.firstGo(); }
    void Go() { m_playlist.Go(); }

    // Adding: the open dialog (a media file or a playlist file) and a folder's media files.
    void add();
    void addFileClicked();   // "+FILE"
    void addFolderClicked(); // "+DIR"
    // Files, folders and playlists dropped on a window, each added as "+FILE" or "+DIR" adds
    // it.
    void addDropped(const QStringList& paths);
    // Playlist files and the list as a whole.
    void WriteToORV(const QString& path);
    void PullFromORV(const QString& path);
    void PullCosmeticsORV(const QString& path);
    void saveClicked();  // "Save"
    void clearClicked(); // "Clear"

    CommonDialog& commonDialog() { return *m_commonDialog; }
    // The playlist was empty when the current add began.
    bool ListWasEmpty = true;
    // The file or folder chosen last; "" after a cancel.
    QString MoviePath;

    QTreeView* listview1() const { return m_listview1; }
    picSlider* PicVScroll1() const { return m_picVScroll1; }

    // Reads the main window's PLSattached: while docked the title does not move the window.
    void setAttachedReader(std::function<bool()> attached) { m_attached = std::move(attached); }
    // The press point of a title drag, in twips within the title.
    int DragX() const { return m_dragX; }

signals:
    // A playlist file or a folder gave nothing, and why, in one line for the user.
    void refused(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AddFromDialog();
    // MoviePath as the dialogs' choice: a playlist through the reader, a media file as one
    // entry; a folder through the scan.
    void addChosen();
    void addChosenFolder();
    // "+FILE": add through add, then start the list if it was empty.
    void addAsFileButton(void (PlaylistWindow::*add)());
    void showMessage(const QString& text);
    void showCurrentName(const QString& path);
    void selectInView(int item);
    // The entry view is given the list when the window first shows: a view lays out every
    // entry it holds, shown or not, at some 40 bytes each.
    void attachView();
    void placeControls();
    void sliderChanged();
    void titleMouse(const QMouseEvent& event);

    std::unique_ptr<CommonDialog> m_commonDialog;
    Playlist& m_playlist;
    QTreeView* m_listview1;
    picSlider* m_picVScroll1;
    QLabel* m_label1;
    QLabel* m_lbltotalfiles;
    std::function<bool()> m_attached;
    int m_dragX = 0;
    int m_dragY = 0;
};
