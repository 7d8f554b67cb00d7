// The playlist's paths, packed: each one's UTF-8 bytes after its length, in blocks, and eight
// bytes per entry to find it. A million paths of fifty characters take some 60 MB instead of
// the 170 MB a list of strings holds; a path is unpacked only when asked for.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

class PathStore
{
public:
    PathStore() = default;
    PathStore(PathStore&&) noexcept = default;
    PathStore& operator=(PathStore&&) noexcept = default;

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    QString at(qsizetype i) const;
    QStringList toList() const;
    // The memory the store holds, blocks and slots.
    qsizetype heapBytes() const;

    void append(QStringView path);
    void appendUtf8(std::string_view path);
    void append(const PathStore& other);
    void clear();

private:
    struct Slot
    {
        quint32 block;
        quint32 offset;
    };
    struct Free
    {
        void operator()(void* memory) const { std::free(memory); }
    };
    using Block = std::unique_ptr<char[], Free>;

    // A short list stays in one small block of each kind; a long one grows by 2 MiB blocks,
    // which the kernel may back with one huge page each: a million entries then take some
    // thirty page faults instead of fifteen thousand.
    static constexpr qsizetype FirstBlockBytes = qsizetype(64) << 10;
    static constexpr qsizetype BlockBytes = qsizetype(2) << 20;
    static constexpr qsizetype FirstSlots = FirstBlockBytes / qsizetype(sizeof(Slot));
    static constexpr qsizetype SlotsPerBlock = BlockBytes / qsizetype(sizeof(Slot));

    static Block allocate(qsizetype bytes);
    // Where entry i's slot is; the slot blocks are the store's own, written only by push.
    Slot* slot(qsizetype i) const;
    // Room for bytes at the end of the last block, or a new block that holds them.
    char* reserve(qsizetype bytes, Slot& slot);
    void push(const Slot& slot);

    std::vector<Block> m_blocks;
    std::vector<qsizetype> m_blockSizes;
    qsizetype m_lastBlockUsed = 0;
    std::vector<Block> m_slotBlocks;
    qsizetype m_size = 0;
};
