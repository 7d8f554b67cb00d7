// The playlist's paths, packed: each one's UTF-8 bytes after its length, in blocks of a
// megabyte, and eight bytes per entry to find it. A million paths of fifty characters take
// some 60 MB instead of the 170 MB a list of strings holds; a path is unpacked only when asked.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

class PathStore
{
public:
    PathStore() = default;
    PathStore(PathStore&&) noexcept = default;
    PathStore& operator=(PathStore&&) noexcept = default;

    static PathStore fromList(const QStringList& paths);

    qsizetype size() const { return qsizetype(m_slots.size()); }
    bool isEmpty() const { return m_slots.empty(); }
    QString at(qsizetype i) const;
    QStringList toList() const;
    // The memory the store holds, blocks and slots.
    qsizetype heapBytes() const;

    void append(QStringView path);
    void append(const PathStore& other);
    void clear();

private:
    struct Slot
    {
        quint32 block;
        quint32 offset;
    };
    static constexpr qsizetype BlockBytes = qsizetype(1) << 20;

    // Room for bytes at the end of the last block, or a new block that holds them.
    char* reserve(qsizetype bytes, Slot& slot);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    qsizetype m_blockBytes = 0;
    qsizetype m_lastBlockSize = 0;
    qsizetype m_lastBlockUsed = 0;
    std::vector<Slot> m_slots;
};
