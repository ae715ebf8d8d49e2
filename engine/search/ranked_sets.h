#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sets/equip_set.h"

// The best sets of a ranked search so far, at most `capacity` of them: ordered by key, then by
// defence, both descending, then by the order found. That order is the position of the set's
// combination of groups in the enumeration's own order (its part), then the order offered: a
// search may visit the parts in another order, but offers the sets of one part in the order
// found. A set, or a whole part of the search, that only ties the worst set kept enters only if
// it comes first in that order.
class RankedSets {
public:
    explicit RankedSets(std::size_t capacity) : capacity_(capacity) {}

    // The sets offered and the parts asked about from now on come from the combinations at or
    // after `part`, the first of them at `part`. A search that never tells offers them all in
    // the order found.
    void EnterPart(std::uint64_t part) { part_ = part; }
    // Whether a set with this key and defence, offered now, would be kept. Upper bounds for a
    // part of the search answer whether any of its sets could be.
    bool MayEnter(std::int64_t key, std::int64_t defense) const;
    // The least key with which a set of this defence, offered now, would be kept.
    std::int64_t LeastKeyToEnter(std::int64_t defense) const;
    // Keeps a copy of the set if MayEnter allows it, in the place of the worst one kept when
    // full.
    void Offer(std::int64_t key, std::int64_t defense, const CEquipSet& set);
    // Records that sets were left out because better ones filled the list.
    void NoteCut() { cut_ = true; }
    bool Cut() const { return cut_; }
    // Records that a part of the search that may hold sets was passed over: whether the list is
    // cut is then not known.
    void NoteMaybeCut() { maybeCut_ = true; }
    bool MaybeCut() const { return maybeCut_; }
    // The sets kept, best first.
    std::vector<std::unique_ptr<CEquipSet>> TakeRanked();

private:
    // The heap holds only what orders the sets and where each is stored: most sets offered are
    // dropped again, and a set dropped leaves its place in `stored_`, allocation and all, to the
    // next one.
    struct Entry {
        std::int64_t key;
        std::int64_t defense;
        std::uint64_t part;
        std::uint64_t order;
        std::size_t stored;
    };
    static bool Better(const Entry& a, const Entry& b);
    void ReplaceWorst(const Entry& entry);

    std::size_t capacity_;
    std::vector<Entry> heap_; // the worst set kept on top
    std::vector<std::unique_ptr<CEquipSet>> stored_;
    std::uint64_t offered_ = 0;
    std::uint64_t part_ = 0;
    bool cut_ = false;
    bool maybeCut_ = false;
};
