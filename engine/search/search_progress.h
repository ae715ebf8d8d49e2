#pragma once

#include <atomic>
#include <cstdint>

#include "engine/search/search_host.h"

// How far a running search has come, and whether it is asked to stop. The phases count into it
// and pump its host; the host reads the counters to show progress and sets the abort flag. The
// flag is atomic because the thread that sets it need not be the one that searches.
struct SearchProgress {
    explicit SearchProgress(SearchHost* owner = nullptr) : owner(owner) {}
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;

    void Pump() const {
        if (owner != nullptr) {
            owner->PumpMessages();
        }
    }
    void Post(unsigned message) const {
        if (owner != nullptr) {
            owner->Post(message, visited, totalCombos);
        }
    }
    bool AbortRequested() const { return abortRequested.load(std::memory_order_relaxed) != 0; }

    SearchHost* owner;
    std::atomic<std::int32_t> abortRequested{0};
    std::int32_t running = 0;
    // Counters are 64-bit: the product of five group counts easily passes 2^32. Past 2^64 they
    // saturate.
    std::uint64_t visited = 0;
    std::uint64_t totalCombos = 0;
    // Group combinations the bounds ruled out without judging them; counted in `visited` too.
    std::uint64_t pruned = 0;
};
