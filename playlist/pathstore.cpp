#include "playlist/pathstore.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <sys/mman.h>

namespace {
using Length = quint32;

Length lengthAt(const char* record)
{
    Length length = 0;
    std::memcpy(&length, record, sizeof length);
    return length;
}
} // namespace

PathStore::Block PathStore::allocate(qsizetype bytes)
{
    if (bytes != BlockBytes)
        return Block(static_cast<char*>(std::malloc(std::size_t(bytes))));
    void* memory = std::aligned_alloc(std::size_t(BlockBytes), std::size_t(BlockBytes));
    if (memory)
        madvise(memory, std::size_t(BlockBytes), MADV_HUGEPAGE);
    return Block(static_cast<char*>(memory));
}

PathStore::Slot* PathStore::slot(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < m_size);
    const auto inBlock = [&](qsizetype block) {
        return reinterpret_cast<Slot*>(m_slotBlocks[std::size_t(block)].get());
    };
    if (i < FirstSlots)
        return inBlock(0) + i;
    const qsizetype rest = i - FirstSlots;
    return inBlock(1 + rest / SlotsPerBlock) + rest % SlotsPerBlock;
}

QString PathStore::at(qsizetype i) const
{
    const Slot* s = slot(i);
    const char* record = m_blocks[s->block].get() + s->offset;
    return QString::fromUtf8(record + sizeof(Length), qsizetype(lengthAt(record)));
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
    const qsizetype slotBytes =
        m_slotBlocks.empty() ? 0
                             : FirstBlockBytes + qsizetype(m_slotBlocks.size() - 1) * BlockBytes;
    return std::accumulate(m_blockSizes.begin(), m_blockSizes.end(), qsizetype(0)) + slotBytes;
}

char* PathStore::reserve(qsizetype bytes, Slot& slot)
{
    if (m_blocks.empty() || m_lastBlockUsed + bytes > m_blockSizes.back()) {
        // A path longer than a block gets a block of its own size.
        const qsizetype size = std::max(m_blocks.empty() ? FirstBlockBytes : BlockBytes, bytes);
        Block block = allocate(size);
        if (!block)
            throw std::bad_alloc();
        m_blocks.push_back(std::move(block));
        m_blockSizes.push_back(size);
        m_lastBlockUsed = 0;
    }
    slot = {quint32(m_blocks.size() - 1), quint32(m_lastBlockUsed)};
    char* at = m_blocks.back().get() + m_lastBlockUsed;
    m_lastBlockUsed += bytes;
    return at;
}

void PathStore::push(const Slot& slot)
{
    const qsizetype capacity =
        m_slotBlocks.empty() ? 0 : FirstSlots + qsizetype(m_slotBlocks.size() - 1) * SlotsPerBlock;
    if (m_size == capacity) {
        Block block = allocate(m_slotBlocks.empty() ? FirstBlockBytes : BlockBytes);
        if (!block)
            throw std::bad_alloc();
        m_slotBlocks.push_back(std::move(block));
    }
    ++m_size;
    *this->slot(m_size - 1) = slot;
}

void PathStore::append(QStringView path)
{
    const QByteArray utf8 = path.toUtf8();
    appendUtf8({utf8.constData(), std::size_t(utf8.size())});
}

void PathStore::appendUtf8(std::string_view path)
{
    const Length length = Length(path.size());
    Slot s{};
    char* at = reserve(qsizetype(sizeof length + path.size()), s);
    std::memcpy(at, &length, sizeof length);
    std::memcpy(at + sizeof length, path.data(), path.size());
    push(s);
}

void PathStore::append(const PathStore& other)
{
    Q_ASSERT(&other != this);
    for (qsizetype i = 0; i < other.size(); ++i) {
        const Slot* from = other.slot(i);
        const char* record = other.m_blocks[from->block].get() + from->offset;
        appendUtf8({record + sizeof(Length), lengthAt(record)});
    }
}

void PathStore::clear()
{
    *this = PathStore();
}
