#include "playlist/pathstore.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace {
using Length = quint32;
} // namespace

PathStore PathStore::fromList(const QStringList& paths)
{
    PathStore store;
    store.m_slots.reserve(std::size_t(paths.size()));
    for (const QString& path : paths)
        store.append(path);
    return store;
}

QString PathStore::at(qsizetype i) const
{
    const Slot slot = m_slots.at(std::size_t(i));
    const char* bytes = m_blocks[slot.block].get() + slot.offset;
    Length length = 0;
    std::memcpy(&length, bytes, sizeof length);
    return QString::fromUtf8(bytes + sizeof length, qsizetype(length));
}

QStringList PathStore::toList() const
{
    QStringList paths;
    paths.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        paths.append(at(i));
    return paths;
}

qsizetype PathStore::heapBytes() const
{
    return m_blockBytes +
           qsizetype(m_blocks.capacity() * sizeof(m_blocks[0]) + m_slots.capacity() * sizeof(Slot));
}

char* PathStore::reserve(qsizetype bytes, Slot& slot)
{
    if (m_blocks.empty() || m_lastBlockUsed + bytes > m_lastBlockSize) {
        // A path longer than a block gets a block of its own size.
        m_lastBlockSize = std::max(BlockBytes, bytes);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(std::size_t(m_lastBlockSize)));
        m_blockBytes += m_lastBlockSize;
        m_lastBlockUsed = 0;
    }
    slot = {quint32(m_blocks.size() - 1), quint32(m_lastBlockUsed)};
    char* at = m_blocks.back().get() + m_lastBlockUsed;
    m_lastBlockUsed += bytes;
    return at;
}

void PathStore::append(QStringView path)
{
    const QByteArray utf8 = path.toUtf8();
    const Length length = Length(utf8.size());
    Slot slot{};
    char* at = reserve(qsizetype(sizeof length) + utf8.size(), slot);
    std::memcpy(at, &length, sizeof length);
    std::memcpy(at + sizeof length, utf8.constData(), std::size_t(utf8.size()));
    m_slots.push_back(slot);
}

void PathStore::append(const PathStore& other)
{
    Q_ASSERT(&other != this);
    m_slots.reserve(m_slots.size() + other.m_slots.size());
    for (const Slot& from : other.m_slots) {
        const char* bytes = other.m_blocks[from.block].get() + from.offset;
        Length length = 0;
        std::memcpy(&length, bytes, sizeof length);
        const qsizetype size = qsizetype(sizeof length) + qsizetype(length);
        Slot slot{};
        std::memcpy(reserve(size, slot), bytes, std::size_t(size));
        m_slots.push_back(slot);
    }
}

void PathStore::clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_blockBytes = 0;
    m_lastBlockSize = 0;
    m_lastBlockUsed = 0;
}
