#pragma once

#include <cstdint>
#include <vector>

// Remembered answers of the exact fitting, keyed by two words that describe a sub-problem. An
// open-addressing table: the search asks it millions of times and a node-based map would spend
// most of its time allocating.
class FitMemo {
public:
    struct Key {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
    };

    // 0 when the key is unknown, else the value stored (never 0).
    int Find(const Key& key) const;
    void Store(const Key& key, std::uint16_t value);

private:
    struct Slot {
        Key key;
        std::uint16_t state = 0;
    };
    static constexpr std::size_t kInitialSize = 1 << 12;
    // A search that meets more sub-problems than this starts afresh rather than keep growing.
    static constexpr std::size_t kMaxEntries = std::size_t{1} << 22;

    std::size_t IndexOf(const Key& key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};
