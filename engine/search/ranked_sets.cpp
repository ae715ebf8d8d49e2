#include "engine/search/ranked_sets.h"

#include <algorithm>
#include <limits>

// Without branches: the heap's walk compares entries in no predictable pattern.
bool RankedSets::Better(const Entry& a, const Entry& b) {
    const bool laterFound = a.part != b.part ? a.part < b.part : a.order < b.order;
    const bool defenseFirst = (a.defense > b.defense) | ((a.defense == b.defense) & laterFound);
    return (a.key > b.key) | ((a.key == b.key) & defenseFirst);
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

void RankedSets::Offer(std::int64_t key, std::int64_t defense, const CEquipSet& set) {
    if (!MayEnter(key, defense)) {
        cut_ = true;
        return;
    }
    if (heap_.size() < capacity_) {
        heap_.push_back(Entry{key, defense, part_, offered_++, stored_.size()});
        stored_.push_back(std::make_unique<CEquipSet>(set));
        // The heap's comparison puts the worst entry on top, as a max-heap of "worse".
        std::push_heap(heap_.begin(), heap_.end(), Better);
        return;
    }
    cut_ = true;
    const std::size_t stored = heap_.front().stored;
    *stored_[stored] = set;
    ReplaceWorst(Entry{key, defense, part_, offered_++, stored});
}

// The new entry takes the worst one's place and sinks below every worse entry: one pass down the
// heap instead of taking the worst out and bringing the new one up.
void RankedSets::ReplaceWorst(const Entry& entry) {
    const std::size_t size = heap_.size();
    std::size_t at = 0;
    for (;;) {
        std::size_t worse = 2 * at + 1;
        if (worse >= size) {
            break;
        }
        if (worse + 1 < size) {
            worse += static_cast<std::size_t>(Better(heap_[worse], heap_[worse + 1]));
        }
        if (!Better(entry, heap_[worse])) {
            break;
        }
        heap_[at] = heap_[worse];
        at = worse;
    }
    heap_[at] = entry;
}

std::vector<std::unique_ptr<CEquipSet>> RankedSets::TakeRanked() {
    std::sort(heap_.begin(), heap_.end(), Better);
    std::vector<std::unique_ptr<CEquipSet>> sets;
    sets.reserve(heap_.size());
    for (Entry& entry : heap_) {
        sets.push_back(std::move(stored_[entry.stored]));
    }
    heap_.clear();
    stored_.clear();
    return sets;
}
