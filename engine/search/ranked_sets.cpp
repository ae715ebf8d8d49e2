#include "engine/search/ranked_sets.h"

#include <algorithm>
#include <limits>

bool RankedSets::Better(const Entry& a, const Entry& b) {
    if (a.key != b.key) {
        return a.key > b.key;
    }
    if (a.defense != b.defense) {
        return a.defense > b.defense;
    }
    return a.part != b.part ? a.part < b.part : a.order < b.order;
}

bool RankedSets::MayEnter(std::int64_t key, std::int64_t defense) const {
    if (heap_.size() < capacity_) {
        return true;
    }
    if (heap_.empty()) {
        return false;
    }
    const Entry& worst = heap_.front();
    if (key != worst.key) {
        return key > worst.key;
    }
    return defense != worst.defense ? defense > worst.defense : part_ < worst.part;
}

std::int64_t RankedSets::LeastKeyToEnter(std::int64_t defense) const {
    if (heap_.size() < capacity_) {
        return std::numeric_limits<std::int64_t>::min();
    }
    if (heap_.empty()) {
        return std::numeric_limits<std::int64_t>::max();
    }
    const Entry& worst = heap_.front();
    const bool winsTie = defense != worst.defense ? defense > worst.defense : part_ < worst.part;
    return winsTie ? worst.key : worst.key + 1;
}

void RankedSets::Offer(std::int64_t key, std::int64_t defense, std::unique_ptr<CEquipSet> set) {
    if (!MayEnter(key, defense)) {
        cut_ = true;
        return;
    }
    // The heap's comparison puts the worst entry on top, as a max-heap of "worse".
    const auto worseOnTop = [](const Entry& a, const Entry& b) { return Better(a, b); };
    if (heap_.size() >= capacity_) {
        std::pop_heap(heap_.begin(), heap_.end(), worseOnTop);
        heap_.pop_back();
        cut_ = true;
    }
    heap_.push_back(Entry{key, defense, part_, offered_++, std::move(set)});
    std::push_heap(heap_.begin(), heap_.end(), worseOnTop);
}

std::vector<std::unique_ptr<CEquipSet>> RankedSets::TakeRanked() {
    std::sort(heap_.begin(), heap_.end(), Better);
    std::vector<std::unique_ptr<CEquipSet>> sets;
    sets.reserve(heap_.size());
    for (Entry& entry : heap_) {
        sets.push_back(std::move(entry.set));
    }
    heap_.clear();
    return sets;
}
