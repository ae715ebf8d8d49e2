#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Two words that describe a sub-problem of the exact fitting.
struct MemoKey {
    std::uint64_t a = 0;
    std::uint64_t b = 0;

    bool operator==(const MemoKey&) const = default;
};

// Where the search for `key` starts in a table of 2^(64 - `shift`) slots: the top bits of a
// product, which every bit of both words reaches. Asked at every step of the searches, so one
// multiply per word rather than a full mix.
inline std::size_t MemoHome(const MemoKey& key, int shift) {
    const std::uint64_t mixed = key.a ^ (key.b * 0x9E3779B97F4A7C15ULL);
    return static_cast<std::size_t>((mixed * 0xD6E8FEB86659FD93ULL) >> shift);
}

// Remembered answers of the exact fitting, by sub-problem. An open-addressing table: the search
// asks it millions of times and a node-based map would spend most of its time allocating.
// `Value` is small and compares; its default stands for an unknown key and is never stored.
template <typename Value> class KeyedMemo {
public:
    using Key = MemoKey;

    Value Find(const Key& key) const {
        return slots_.empty() ? Value{} : slots_[IndexOf(key)].value;
    }
    void Store(const Key& key, Value value) {
        if (slots_.empty() || 2 * (used_ + 1) > slots_.size()) {
            Grow();
        }
        Slot& slot = slots_[IndexOf(key)];
        if (slot.value == Value{}) {
            ++used_;
        }
        slot.key = key;
        slot.value = value;
    }

private:
    struct Slot {
        Key key;
        Value value{};
    };
    static constexpr std::size_t kInitialSize = 1 << 12;
    // A search that meets more sub-problems than this starts afresh rather than keep growing.
    static constexpr std::size_t kMaxEntries = std::size_t{1} << 22;

    std::size_t IndexOf(const Key& key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t index = MemoHome(key, shift_);
        while (!(slots_[index].value == Value{}) && !(slots_[index].key == key)) {
            index = (index + 1) & mask;
        }
        return index;
    }
    void Grow() {
        if (slots_.size() >= 2 * kMaxEntries) {
            std::fill(slots_.begin(), slots_.end(), Slot{});
            used_ = 0;
            return;
        }
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? kInitialSize : 2 * old.size(), Slot{});
        shift_ = 64 - std::countr_zero(slots_.size());
        used_ = 0;
        for (const Slot& slot : old) {
            if (!(slot.value == Value{})) {
                slots_[IndexOf(slot.key)] = slot;
                ++used_;
            }
        }
    }

    std::vector<Slot> slots_;
    int shift_ = 64; // 64 less the bits of a slot's index
    std::size_t used_ = 0;
};

// Whether a sub-problem can be met: 0 when unknown, else the answer stored.
using FitMemo = KeyedMemo<std::uint16_t>;
