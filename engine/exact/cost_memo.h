#pragma once

#include <cstdint>
#include <vector>

#include "engine/fitting/fit_memo.h"

// What the least-cost search knows of its sub-problems, keyed as the fitting's other memos: a
// cost and the choice that reaches it, in one entry, as the search reads and writes them together.
// An open-addressing table, as the search asks it at nearly every step.
class CostMemo {
public:
    // Both 0 when the key is unknown; a known entry's cost is never 0.
    struct Entry {
        std::uint16_t cost = 0;
        std::uint16_t choice = 0;
    };

    Entry Find(const FitMemo::Key& key) const;
    void Store(const FitMemo::Key& key, Entry entry);

private:
    struct Slot {
        FitMemo::Key key;
        Entry entry;
    };
    static constexpr std::size_t kInitialSize = 1 << 12;
    // A search that meets more sub-problems than this starts afresh rather than keep growing.
    static constexpr std::size_t kMaxEntries = std::size_t{1} << 22;

    std::size_t IndexOf(const FitMemo::Key& key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};
