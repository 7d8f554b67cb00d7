// The playlist window: a small always-on-top window that shows the playlist's entries
// and carries its buttons. The entries and the steps through them live in Playlist.
#pragma once

#include "playlist/playlist.h"

#include <QWidget>

class QLabel;
class QTreeView;
class GlyphLabel;

class formPLS : public QWidget
{
    Q_OBJECT
public:
    explicit formPLS(QWidget* parent = nullptr);
    ~formPLS() override;

    Playlist& playlist() { return *m_playlist; }

    // Public seams the main window calls.
    void firstGo() { m_playlist->firstGo(); }
    void Go() { m_playlist->Go(); }
    void PlayNext() { m_playlist->PlayNext(); }
    void PlayPrev() { m_playlist->PlayPrev(); }
    static QString Getfilename(const QString& path);

    QString lbltotalfilesCaption() const;
    QTreeView* listview1() const { return m_listview1; }

private:
    void showCurrentName(const QString& path);
    void selectInView(int item);
    void placeControls();

    Playlist* m_playlist;
    QTreeView* m_listview1;
    QLabel* m_label1;
    QLabel* m_lbltotalfiles;
    QString m_text3 = QStringLiteral("No File");
};
