#pragma once
// A streaming uniform buffer for one uniform block (GL thread only). Every
// Publish writes the block to a fresh slot and binds that slot, so no queued
// draw that still reads an older slot makes the driver wait; a full buffer is
// orphaned and filled again from the start.

#include <cstddef>

class CUniformRing {
public:
    void Create(std::size_t blockSize, unsigned binding);
    void Destroy();
    void Publish(const void* block);

private:
    static constexpr std::size_t kRingSize = 1 << 20;

    unsigned m_buffer = 0;
    unsigned m_binding = 0;
    std::size_t m_blockSize = 0;
    std::size_t m_slotSize = 0;  // block size rounded up to the offset alignment
    std::size_t m_offset = 0;    // next free slot
};
