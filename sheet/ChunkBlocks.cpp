#include "sheet/ChunkBlocks.h"

#include <QMutex>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <unordered_map>

#include <sys/mman.h>

namespace {

constexpr std::size_t BlockBytes = std::size_t(2) << 20;
constexpr int ChunksPerBlock = int(BlockBytes / ChunkBlocks::ChunkBytes);
static_assert(ChunksPerBlock == 32, "one bit per chunk of a block");

struct Blocks
{
    QMutex mutex;
    // Each block by its address, with one bit per chunk in use.
    std::unordered_map<std::uintptr_t, std::uint32_t> used;
    std::uintptr_t withRoom = 0; // a block with a free chunk, tried first (0: none known)
};

Blocks& blocks()
{
    static Blocks b;
    return b;
}

std::uint32_t takeBit(std::uint32_t& mask)
{
    const std::uint32_t free = ~mask;
    const std::uint32_t bit = free & (~free + 1); // the lowest free chunk
    mask |= bit;
    return bit;
}

int indexOf(std::uint32_t bit)
{
    return __builtin_ctz(bit);
}

} // namespace

void* ChunkBlocks::take()
{
    Blocks& b = blocks();
    QMutexLocker lock(&b.mutex);
    auto it = b.used.find(b.withRoom);
    if (it == b.used.end() || it->second == ~std::uint32_t(0)) {
        it = b.used.end();
        for (auto i = b.used.begin(); i != b.used.end(); ++i)
            if (i->second != ~std::uint32_t(0)) {
                it = i;
                break;
            }
    }
    if (it == b.used.end()) {
        void* block = std::aligned_alloc(BlockBytes, BlockBytes);
        if (!block)
            throw std::bad_alloc();
        madvise(block, BlockBytes, MADV_HUGEPAGE); // advice only: 4 KB pages are fine too
        it = b.used.emplace(reinterpret_cast<std::uintptr_t>(block), 0).first;
    }
    const std::uint32_t bit = takeBit(it->second);
    b.withRoom = it->first;
    return reinterpret_cast<void*>(it->first + std::size_t(indexOf(bit)) * ChunkBytes);
}

void ChunkBlocks::give(void* chunk)
{
    if (!chunk)
        return;
    const auto address = reinterpret_cast<std::uintptr_t>(chunk);
    const std::uintptr_t block = address & ~std::uintptr_t(BlockBytes - 1);
    Blocks& b = blocks();
    QMutexLocker lock(&b.mutex);
    const auto it = b.used.find(block);
    if (it == b.used.end())
        return;
    it->second &= ~(std::uint32_t(1) << ((address - block) / ChunkBytes));
    if (it->second == 0) {
        b.used.erase(it);
        std::free(reinterpret_cast<void*>(block));
        if (b.withRoom == block)
            b.withRoom = 0;
    } else {
        b.withRoom = block;
    }
}
