#include "engine/exact/cost_memo.h"

#include <algorithm>

namespace {

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

} // namespace

std::size_t CostMemo::IndexOf(const FitMemo::Key& key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t index = Mix(key.a ^ Mix(key.b)) & mask;
    while (slots_[index].entry.cost != 0 &&
           (slots_[index].key.a != key.a || slots_[index].key.b != key.b)) {
        index = (index + 1) & mask;
    }
    return index;
}

CostMemo::Entry CostMemo::Find(const FitMemo::Key& key) const {
    if (slots_.empty()) {
        return {};
    }
    return slots_[IndexOf(key)].entry;
}

void CostMemo::Store(const FitMemo::Key& key, Entry entry) {
    if (slots_.empty() || 2 * (used_ + 1) > slots_.size()) {
        Grow();
    }
    Slot& slot = slots_[IndexOf(key)];
    if (slot.entry.cost == 0) {
        ++used_;
    }
    slot.key = key;
    slot.entry = entry;
}

void CostMemo::Grow() {
    if (slots_.size() >= 2 * kMaxEntries) {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        used_ = 0;
        return;
    }
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kInitialSize : 2 * old.size(), Slot{});
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.entry.cost != 0) {
            slots_[IndexOf(slot.key)] = slot;
            ++used_;
        }
    }
}
