// The playlist's entries and the steps through them. Holds the path list and the entry
// view's texts side by side (entry i of the view is path i - 1), the current entry, the
// start-up timer and the start check. The playlist window only draws it.
#pragma once

#include "playlist/orvformat.h"
#include "playlist/pathstore.h"

#include <QAbstractListModel>
#include <QStringList>
#include <QTimer>
#include <functional>

struct PlaylistEntry
{
    QString path;
    // Null for the path's own name, the text after its last separator, worked out only when
    // shown: a list read from a file may hold a hundred thousand entries.
    QString displayName;
};

class Playlist : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole + 1;
    static constexpr int StartDelayMs = 500;
    // The most entries the list holds, whatever adds them: as many as one playlist file may.
    static constexpr qsizetype MaxEntries = OrvFormat::MaxEntries;

    // What the list asks of the player: open an entry (true when the engine took it), and
    // whether something already plays (the start check).
    class Player
    {
    public:
        virtual bool openEntry(const QString& path) = 0;
        virtual bool playing() const = 0;

    protected:
        ~Player() = default;
    };

    explicit Playlist(QObject* parent = nullptr);

    // Without a player no entry opens and the start check always steps on.
    void setPlayer(Player* player) { m_player = player; }

    // Model for the entry view: one column, "Filename".
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Entries. Appending always adds at the end of both lists; the first entry added to an
    // empty view becomes its selected item. What finds no room is left out, and full says so.
    int count() const { return static_cast<int>(m_paths.size()); }
    // How many more entries the list takes.
    qsizetype room() const { return MaxEntries - m_paths.size(); }
    // Stepping and the position slider need two entries or more.
    static constexpr bool severalEntries(double count) { return count > 1; }
    PlaylistEntry entry(int item) const;
    // The path list, in entry order.
    QStringList paths() const;
    void append(const QString& path, const QString& displayName);
    void append(const QList<PlaylistEntry>& entries);
    // Entries shown by their paths' own names; an empty list takes the paths as they are.
    void append(PathStore&& paths);
    // Empties both lists; the current entry, the shown path and the shown count stay.
    void clear();

    // The entry view's selected item, 1-based; 0 when the view is empty.
    int selectedItem() const { return m_selectedItem; }
    void setSelectedItem(int item);
    // The path list's selected index, 0-based; -1 for none.
    int pathListIndex() const { return m_pathListIndex; }

    // 1-based number of the current entry, 0 for none.
    int CurrentIndex() const { return m_currentIndex; }
    // The current path; every write shows the entry again, even the same path.
    QString currentPath() const { return m_currentPath; }
    void setCurrentPath(const QString& path);
    // The start trigger; every write runs the start check.
    QString startTrigger() const { return m_startTrigger; }
    void setStartTrigger(const QString& text);

    // The entry count as the window shows it; refreshed only at the moments that refresh it.
    // Stepping from the main window reads this one, not count().
    int shownCount() const { return m_shownCount; }
    void refreshCount();

    // The slider beside the entry view.
    int sliderMax() const { return m_sliderMax; }
    int sliderValue() const { return m_sliderValue; }
    void setSliderMax(int max);

    // The start-up timer: a half-second one shot before the first entry plays.
    QTimer& startupTimer() { return m_startupTimer; }

    void firstGo();
    void Go();
    void PlayNext();
    void PlayPrev();
    // The next-file and previous-file buttons: only with two entries or more.
    void nextFileClicked();
    void previousFileClicked();
    // Double click in the entry view: plays the selected entry at once.
    void playSelected();
    // Adds a local file after the entries and plays it at once, as the desktop's "open" asks;
    // a playlist file is handed on through listFileDropped, to be added as a drop adds it.
    void playNow(const QString& path);
    // Single click in the entry view.
    void entryClicked();

signals:
    // The current path was written (the window shows the entry's name again).
    void currentPathShown(const QString& path);
    void selectedItemChanged(int item);
    // The entry view should scroll item into view.
    void ensureVisible(int item);
    void shownCountChanged(int count);
    void sliderMaxChanged(int max);
    void sliderValueChanged(int value);
    // An append left entries out: the list holds MaxEntries.
    void full(qsizetype leftOut);
    void listFileDropped(const QString& path);

private:
    void showEntry(int item);
    void step(int direction);
    void armStartTimer();
    void timerTick();
    void setSliderValue(int value);

    // Adds rows at the end; the first entry added to an empty view becomes its selected item.
    void appendRows(int rows, const std::function<void()>& add);

    PathStore m_paths;
    // The view's texts; shorter than m_paths when the last entries show their own names.
    QStringList m_names;
    int m_selectedItem = 0;
    int m_pathListIndex = -1;
    int m_currentIndex = 0;
    QString m_currentPath = QStringLiteral("No File");
    QString m_startTrigger;
    int m_shownCount = 0;
    int m_sliderMax = 1;
    int m_sliderValue = 0;
    QTimer m_startupTimer;
    Player* m_player = nullptr;
};
