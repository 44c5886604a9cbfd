#include "document/blockpool.h"

#include <cassert>
#include <cstdint>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TW_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef TW_ADDRESS_SANITIZER
#include <cstdio>
#include <cstdlib>
#include <sanitizer/asan_interface.h>
#endif

namespace tw {
namespace {

void Poison([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t size)
{
#ifdef TW_ADDRESS_SANITIZER
    ASAN_POISON_MEMORY_REGION(memory, size);
#endif
}

void Unpoison([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t size)
{
#ifdef TW_ADDRESS_SANITIZER
    ASAN_UNPOISON_MEMORY_REGION(memory, size);
#endif
}

} // namespace

// Lies at the start of its slab; a block finds it by rounding its address
// down to the slab size.
struct BlockPool::Slab {
    Slab* previous = nullptr;
    Slab* next = nullptr;
    void* freeBlocks = nullptr; // released blocks, each holding the next one's address
    std::size_t used = 0;       // blocks handed out and not released
    std::size_t fresh = 0;      // blocks never handed out start at this index
    BlockPool* owner = nullptr;

    char* Blocks() { return reinterpret_cast<char*>(this) + HeaderSize; }
};

static_assert(sizeof(void*) <= 16, "a free block holds a pointer");

BlockPool::~BlockPool()
{
    assert(slabCount_ == 0 || (slabCount_ == 1 && spare_) || !"a block outlives its pool");
    if (spare_) {
        spare_->~Slab();
        ::operator delete (spare_, std::align_val_t{SlabSize});
    }
}

BlockPool::Slab* BlockPool::NewSlab()
{
    static_assert((SlabSize & (SlabSize - 1)) == 0, "slabs are found by masking an address");
    void* memory = ::operator new (SlabSize, std::align_val_t{SlabSize});
    Slab* slab = new (memory) Slab;
    static_assert(sizeof(Slab) <= HeaderSize);
    slab->owner = this;
    Poison(slab->Blocks(), SlabSize - HeaderSize);
    ++slabCount_;
    Link(slab);
    return slab;
}

void BlockPool::Link(Slab* slab)
{
    slab->previous = nullptr;
    slab->next = available_;
    if (available_)
        available_->previous = slab;
    available_ = slab;
}

void BlockPool::Unlink(Slab* slab)
{
    if (slab->previous)
        slab->previous->next = slab->next;
    else
        available_ = slab->next;
    if (slab->next)
        slab->next->previous = slab->previous;
    slab->previous = slab->next = nullptr;
}

void* BlockPool::Allocate()
{
    Slab* slab = available_ ? available_ : NewSlab();
    void* block;
    if (slab->freeBlocks) {
        block = slab->freeBlocks;
        Unpoison(block, blockSize_);
        slab->freeBlocks = *static_cast<void**>(block);
    } else {
        block = slab->Blocks() + slab->fresh * blockSize_;
        ++slab->fresh;
        Unpoison(block, blockSize_);
    }
    if (slab == spare_)
        spare_ = nullptr;
    if (++slab->used == capacity_)
        Unlink(slab);
    return block;
}

void BlockPool::Release(void* block) noexcept
{
    if (!block)
        return;
    Slab* slab = reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(block) & ~(SlabSize - 1));
    assert(slab->owner == this && "a block goes back to the pool of the thread that took it");
#ifdef TW_ADDRESS_SANITIZER
    if (__asan_address_is_poisoned(block)) {
        std::fprintf(stderr, "BlockPool: block %p released twice\n", block);
        std::abort();
    }
#endif
    if (slab->used == capacity_)
        Link(slab);
    *static_cast<void**>(block) = slab->freeBlocks;
    slab->freeBlocks = block;
    Poison(block, blockSize_);
    if (--slab->used > 0)
        return;
    if (spare_ == nullptr) {
        // Kept, and handed out again from its start.
        spare_ = slab;
        slab->freeBlocks = nullptr;
        slab->fresh = 0;
        return;
    }
    Unlink(slab);
    --slabCount_;
    slab->~Slab();
    ::operator delete (slab, std::align_val_t{SlabSize});
}

} // namespace tw
