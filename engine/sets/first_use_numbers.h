#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Numbers 0, 1, 2, ... for the distinct keys met, in the order they were first met. Listing
// hundreds of thousands of sets looks up the same few hundred records and few thousand
// decoration arrangements again and again; an open-addressing table finds them in a step or
// two, where a node-based map cost more than the work keyed on them.
//
// `Hash` maps a key to 64 well-mixed bits; the table uses the high ones.
template <class Key, class Hash> class FirstUseNumbers {
public:
    FirstUseNumbers() { slots_.assign(kFirstSlots, kEmpty); }

    // The key's number; `isNew` is set when it was met for the first time, so that the caller
    // derives what it keeps for that number.
    std::size_t NumberOf(const Key& key, bool& isNew) {
        std::size_t slot = SlotOf(key);
        while (slots_[slot] != kEmpty) {
            if (keys_[slots_[slot]] == key) {
                isNew = false;
                return slots_[slot];
            }
            slot = (slot + 1) & (slots_.size() - 1);
        }
        isNew = true;
        slots_[slot] = static_cast<std::uint32_t>(keys_.size());
        keys_.push_back(key);
        // Kept at most half full, so that a search rarely passes more than one slot.
        if (keys_.size() * 2 > slots_.size()) {
            Grow();
        }
        return keys_.size() - 1;
    }
    std::size_t Count() const { return keys_.size(); }
    // The key numbered `number`.
    const Key& KeyOf(std::size_t number) const { return keys_[number]; }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    static constexpr int kFirstBits = 8;
    static constexpr std::size_t kFirstSlots = std::size_t{1} << kFirstBits;

    std::size_t SlotOf(const Key& key) const {
        return static_cast<std::size_t>(Hash{}(key) >> shift_);
    }
    void Grow() {
        slots_.assign(slots_.size() * 2, kEmpty);
        --shift_;
        for (std::size_t number = 0; number < keys_.size(); ++number) {
            std::size_t slot = SlotOf(keys_[number]);
            while (slots_[slot] != kEmpty) {
                slot = (slot + 1) & (slots_.size() - 1);
            }
            slots_[slot] = static_cast<std::uint32_t>(number);
        }
    }

    std::vector<Key> keys_;
    std::vector<std::uint32_t> slots_;
    int shift_ = 64 - kFirstBits; // the hash bits past the table's size
};

// Fibonacci hashing of addresses and of runs of them: records are spread in memory by their
// size, so the low bits alone would crowd a few slots.
inline std::uint64_t MixWord(std::uint64_t seed, std::uint64_t word) {
    return (seed ^ word) * 0x9E3779B97F4A7C15ull;
}

inline std::uint64_t MixAddress(std::uint64_t seed, const void* address) {
    return MixWord(seed, reinterpret_cast<std::uintptr_t>(address));
}

struct AddressHash {
    std::uint64_t operator()(const void* address) const { return MixAddress(0, address); }
};

// Folds a run of addresses, or of integer keys such as group keys, into one hash.
struct AddressRunHash {
    template <class Item, std::size_t N>
    std::uint64_t operator()(const std::array<Item, N>& run) const {
        std::uint64_t hash = 0;
        for (const Item item : run) {
            hash = Mix((hash >> 29) ^ hash, item);
        }
        return hash;
    }

private:
    static std::uint64_t Mix(std::uint64_t seed, const void* address) {
        return MixAddress(seed, address);
    }
    static std::uint64_t Mix(std::uint64_t seed, std::uint64_t word) { return MixWord(seed, word); }
};
