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
    Entry entry{key, defense, part_, offered_++, std::move(set)};
    if (heap_.size() < capacity_) {
        heap_.push_back(std::move(entry));
        // The heap's comparison puts the worst entry on top, as a max-heap of "worse".
        std::push_heap(heap_.begin(), heap_.end(), Better);
        return;
    }
    cut_ = true;
    ReplaceWorst(std::move(entry));
}

// The new entry takes the worst one's place and sinks below every worse entry: one pass down the
// heap instead of taking the worst out and bringing the new one up.
void RankedSets::ReplaceWorst(Entry entry) {
    const std::size_t size = heap_.size();
    std::size_t at = 0;
    for (;;) {
        std::size_t worse = 2 * at + 1;
        if (worse >= size) {
            break;
        }
        if (worse + 1 < size && Better(heap_[worse], heap_[worse + 1])) {
            ++worse;
        }
        if (!Better(entry, heap_[worse])) {
            break;
        }
        heap_[at] = std::move(heap_[worse]);
        at = worse;
    }
    heap_[at] = std::move(entry);
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
