#include "engine/fitting/fit_memo.h"

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

bool Same(const FitMemo::Key& x, const FitMemo::Key& y) {
    return x.a == y.a && x.b == y.b;
}

} // namespace

std::size_t FitMemo::IndexOf(const Key& key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t index = Mix(key.a ^ Mix(key.b)) & mask;
    while (slots_[index].state != 0 && !Same(slots_[index].key, key)) {
        index = (index + 1) & mask;
    }
    return index;
}

int FitMemo::Find(const Key& key) const {
    if (slots_.empty()) {
        return 0;
    }
    return slots_[IndexOf(key)].state;
}

void FitMemo::Store(const Key& key, std::uint16_t value) {
    if (slots_.empty() || 2 * (used_ + 1) > slots_.size()) {
        Grow();
    }
    Slot& slot = slots_[IndexOf(key)];
    if (slot.state == 0) {
        ++used_;
    }
    slot.key = key;
    slot.state = value;
}

void FitMemo::Grow() {
    if (slots_.size() >= 2 * kMaxEntries) {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        used_ = 0;
        return;
    }
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kInitialSize : 2 * old.size(), Slot{});
    used_ = 0;
    for (const Slot& slot : old) {
        if (slot.state != 0) {
            slots_[IndexOf(slot.key)] = slot;
            ++used_;
        }
    }
}
