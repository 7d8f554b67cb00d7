#include "playlist/playlist.h"

#include "common/plaintext.h"
#include "common/starttrace.h"
#include "playlist/displayname.h"

#include <algorithm>

Playlist::Playlist(QObject* parent) : QAbstractListModel(parent), m_startupTimer(this)
{
    m_startupTimer.setObjectName(QStringLiteral("Timer1"));
    m_startupTimer.setSingleShot(true);
    m_startupTimer.setInterval(StartDelayMs);
    // A coarse timer may fire up to a twentieth late; the start waits exactly its half second.
    m_startupTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_startupTimer, &QTimer::timeout, this, &Playlist::timerTick);
}

int Playlist::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant Playlist::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return entry(index.row() + 1).displayName;
    if (role == Qt::ToolTipRole)
        return plainToolTip(m_paths.at(index.row()));
    if (role == PathRole)
        return m_paths.at(index.row());
    return {};
}

QVariant Playlist::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Filename");
    return {};
}

PlaylistEntry Playlist::entry(int item) const
{
    const qsizetype i = item - 1;
    PlaylistEntry e{m_paths.at(i), i < m_names.size() ? m_names.at(i) : QString()};
    if (e.displayName.isNull())
        e.displayName = Paths::nameAfterLastSeparator(e.path);
    return e;
}

QStringList Playlist::paths() const
{
    return m_paths.toList();
}

void Playlist::append(const QString& path, const QString& displayName)
{
    append(QList<PlaylistEntry>{{path, displayName}});
}

void Playlist::append(const QList<PlaylistEntry>& entries)
{
    const qsizetype taken = std::min(entries.size(), room());
    appendRows(static_cast<int>(taken), [&] {
        m_names.resize(m_paths.size());
        for (const PlaylistEntry& e : entries.first(taken)) {
            m_paths.append(e.path);
            m_names.append(e.displayName);
        }
    });
    if (taken < entries.size())
        emit full(entries.size() - taken);
}

void Playlist::append(PathStore&& paths)
{
    const qsizetype taken = std::min(paths.size(), room());
    appendRows(static_cast<int>(taken), [&] {
        if (m_paths.isEmpty() && taken == paths.size()) {
            m_paths = std::move(paths);
        } else if (taken == paths.size()) {
            m_paths.append(paths);
        } else {
            for (qsizetype i = 0; i < taken; ++i)
                m_paths.append(paths.at(i));
        }
    });
    if (taken < paths.size())
        emit full(paths.size() - taken);
}

void Playlist::appendRows(int rows, const std::function<void()>& add)
{
    if (rows == 0)
        return;
    const bool wasEmpty = m_paths.isEmpty();
    beginInsertRows({}, count(), count() + rows - 1);
    add();
    endInsertRows();
    if (wasEmpty)
        setSelectedItem(1);
}

void Playlist::clear()
{
    beginResetModel();
    m_paths.clear();
    m_names.clear();
    endResetModel();
    m_pathListIndex = -1;
    setSelectedItem(0);
}

void Playlist::setSelectedItem(int item)
{
    if (item < 0 || item > count() || (item == 0 && count() > 0))
        return;
    if (item == m_selectedItem)
        return;
    m_selectedItem = item;
    emit selectedItemChanged(item);
}

void Playlist::setCurrentPath(const QString& path)
{
    m_currentPath = path;
    refreshCount();
    emit currentPathShown(path);
}

void Playlist::setStartTrigger(const QString& text)
{
    m_startTrigger = text;
    // The start check: begin at the first entry unless something already plays.
    if (!m_player || !m_player->playing())
        PlayNext();
}

void Playlist::refreshCount()
{
    if (count() == m_shownCount)
        return;
    m_shownCount = count();
    emit shownCountChanged(m_shownCount);
}

void Playlist::showEntry(int item)
{
    m_pathListIndex = item - 1;
    setCurrentPath(m_paths.at(item - 1));
}

void Playlist::armStartTimer()
{
    m_startupTimer.start();
}

void Playlist::firstGo()
{
    if (count() >= 1) {
        armStartTimer();
        m_currentIndex = count();
        showEntry(m_currentIndex);
    }
    if (severalEntries(count()))
        setSliderMax(count());
}

void Playlist::Go()
{
    StartTrace::mark("Go");
    if (count() >= 1 && m_selectedItem >= 1) {
        armStartTimer();
        m_currentIndex = m_selectedItem;
        showEntry(m_currentIndex);
    }
    if (severalEntries(count()))
        setSliderMax(count());
}

void Playlist::PlayNext()
{
    step(+1);
}

void Playlist::PlayPrev()
{
    step(-1);
}

void Playlist::step(int direction)
{
    const int n = count();
    // Nothing to step through; no entry becomes current.
    if (n == 0)
        return;
    if (direction > 0)
        m_currentIndex = (m_currentIndex >= n || m_currentIndex <= 0) ? 1 : m_currentIndex + 1;
    else
        m_currentIndex = (m_currentIndex <= 1 || m_currentIndex > n) ? n : m_currentIndex - 1;
    showEntry(m_currentIndex);
    // A refused file ends the step here: the selection and slider stay where they were.
    if (!m_player || !m_player->openEntry(m_currentPath))
        return;
    setSelectedItem(m_currentIndex);
    emit ensureVisible(m_currentIndex);
    setSliderValue(m_currentIndex);
}

void Playlist::nextFileClicked()
{
    if (severalEntries(count()))
        PlayNext();
}

void Playlist::previousFileClicked()
{
    if (severalEntries(count()))
        PlayPrev();
}

void Playlist::playSelected()
{
    if (count() == 0 || m_selectedItem < 1)
        return;
    m_currentIndex = m_selectedItem;
    showEntry(m_currentIndex);
    if (!m_currentPath.isEmpty() && m_player)
        m_player->openEntry(m_currentPath);
}

void Playlist::playNow(const QString& path)
{
    if (OrvFormat::isPlaylistPath(path)) {
        emit listFileDropped(path);
        return;
    }
    const int before = count();
    append(path, Paths::nameAfterLastSeparator(path));
    // A full list takes nothing (and says so); what plays stays.
    if (count() == before)
        return;
    refreshCount();
    if (severalEntries(count()))
        setSliderMax(count());
    setSelectedItem(count());
    playSelected();
}

void Playlist::entryClicked()
{
    refreshCount();
}

void Playlist::timerTick()
{
    StartTrace::mark("timer fired");
    m_currentIndex = 0;
    m_startupTimer.stop();
    setStartTrigger(QString::number(m_currentIndex));
}

void Playlist::setSliderMax(int max)
{
    if (max == m_sliderMax)
        return;
    m_sliderMax = max;
    emit sliderMaxChanged(max);
}

void Playlist::setSliderValue(int value)
{
    m_sliderValue = value;
    emit sliderValueChanged(value);
}
