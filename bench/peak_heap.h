#pragma once

// The heap a piece of work allocates at its highest. A program that links
// peak_heap.cpp counts every allocation while a PeakHeap lives, so that the
// timed runs pay nothing for it.

#include <benchmark/benchmark.h>

#include <cstddef>

// Counts the heap from construction on; Above is the highest amount in use
// above what was in use at the start.
class PeakHeap {
public:
    PeakHeap();
    ~PeakHeap();
    PeakHeap(const PeakHeap&) = delete;
    PeakHeap& operator=(const PeakHeap&) = delete;
    std::size_t Above() const;
    // What is in use now above what was at the start.
    std::size_t InUse() const;
};

// Runs work once outside the timing with the heap counted, and reports its
// peak.
template <typename Work>
void ReportPeak(benchmark::State& state, Work work)
{
    PeakHeap heap;
    work();
    state.counters["peak_heap_MB"] = static_cast<double>(heap.Above()) / (1024.0 * 1024.0);
}
