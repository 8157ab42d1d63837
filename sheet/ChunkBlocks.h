#pragma once

#include <cstddef>

// Memory for the large, long-lived arrays of sheets (their cell chunks): 64 KB chunks carved
// from 2 MB blocks that the kernel is asked to back with huge pages. Filling a large grid then
// costs one page fault per 2 MB instead of one per 4 KB; on a virtual machine those faults
// were a third of the time a 300,000-row fill spent. A block goes back to the system once none
// of its chunks is in use. Thread-safe.
class ChunkBlocks
{
public:
    static constexpr std::size_t ChunkBytes = std::size_t(64) << 10;

    // A chunk of ChunkBytes, aligned to 64 bytes, its contents undefined.
    static void* take();
    static void give(void* chunk);
};
