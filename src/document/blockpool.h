#pragma once

#include <cstddef>

namespace tw {

// Hands out memory blocks of one size from slabs of 64 KiB, for objects
// that are made and freed by the hundred thousand (the nodes of a large menu
// and their records): taking a block and giving it back cost a few
// instructions and no lock. A slab that has no block in use any more goes
// back to the heap, one empty slab excepted, so a closed project does not
// keep its memory.
//
// A pool serves one thread: a block must be released on the thread that
// took it, and the pool must outlive its blocks. Under AddressSanitizer,
// blocks that are free are poisoned, so a use after release is reported.
class BlockPool {
public:
    static constexpr std::size_t SlabSize = 64 * 1024;

    constexpr explicit BlockPool(std::size_t blockSize)
        : blockSize_(RoundedBlockSize(blockSize)), capacity_((SlabSize - HeaderSize) / blockSize_)
    {
    }
    // Every block must be back.
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    void* Allocate();
    void Release(void* block) noexcept;

    // Slabs held, the empty one kept for reuse included.
    std::size_t SlabCount() const { return slabCount_; }
    std::size_t BlocksPerSlab() const { return capacity_; }

private:
    struct Slab;
    static constexpr std::size_t HeaderSize = 64;
    static constexpr std::size_t RoundedBlockSize(std::size_t size) { return size < 16 ? 16 : (size + 15) / 16 * 16; }

    Slab* NewSlab();
    void Link(Slab* slab);
    void Unlink(Slab* slab);

    std::size_t blockSize_;
    std::size_t capacity_;
    Slab* available_ = nullptr; // slabs with a free block, the one in use first
    Slab* spare_ = nullptr;     // an empty slab kept for the next allocation
    std::size_t slabCount_ = 0;
};

} // namespace tw
