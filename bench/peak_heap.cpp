#include "peak_heap.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// The heap is counted only while a PeakHeap lives, so that the timed runs
// pay nothing for it: what is allocated and freed meanwhile, and the highest
// sum reached.
std::atomic<bool> g_counting{false};
std::atomic<std::ptrdiff_t> g_heapChange{0};
std::atomic<std::ptrdiff_t> g_heapPeak{0};

void Count(void* memory, bool allocated)
{
    if (!g_counting.load(std::memory_order_relaxed))
        return;
    const auto size = static_cast<std::ptrdiff_t>(malloc_usable_size(memory));
    const std::ptrdiff_t change = g_heapChange += allocated ? size : -size;
    std::ptrdiff_t peak = g_heapPeak.load(std::memory_order_relaxed);
    while (change > peak && !g_heapPeak.compare_exchange_weak(peak, change))
        ;
}

void* Allocate(std::size_t size, std::size_t alignment = 0)
{
    if (size == 0)
        size = 1;
    void* memory = alignment > alignof(std::max_align_t)
                       ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                       : std::malloc(size);
    if (!memory)
        throw std::bad_alloc();
    Count(memory, true);
    return memory;
}

void Release(void* memory) noexcept
{
    if (!memory)
        return;
    Count(memory, false);
    std::free(memory);
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* memory) noexcept
{
    Release(memory);
}
void operator delete[](void* memory) noexcept
{
    Release(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    Release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    Release(memory);
}
// The pools of menu nodes take their slabs aligned.
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory, std::align_val_t) noexcept
{
    Release(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
    Release(memory);
}

PeakHeap::PeakHeap()
{
    g_heapChange = 0;
    g_heapPeak = 0;
    g_counting = true;
}

PeakHeap::~PeakHeap()
{
    g_counting = false;
}

std::size_t PeakHeap::Above() const
{
    return static_cast<std::size_t>(g_heapPeak.load());
}

std::size_t PeakHeap::InUse() const
{
    return static_cast<std::size_t>(g_heapChange.load());
}
