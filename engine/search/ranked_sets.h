#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "engine/sets/equip_set.h"

// The least and the most of the values taken so far.
struct ValueSpan {
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    std::int64_t most = std::numeric_limits<std::int64_t>::min();
    void Take(std::int64_t value) {
        least = std::min(least, value);
        most = std::max(most, value);
    }
};

// The best sets of a ranked search so far, at most `capacity` of them: ordered by key, then by
// defence, both descending, then by the order found. That order is the position of the set's
// combination of groups in the enumeration's own order (its part), then the order offered: a
// search may visit the parts in another order, but offers the sets of one part in the order
// found. A set, or a whole part of the search, that only ties the worst set kept enters only if
// it comes first in that order.
class RankedSets {
public:
    explicit RankedSets(std::size_t capacity);

    // The sets offered and the parts asked about from now on come from the combinations at or
    // after `part`, the first of them at `part`. A search that never tells offers them all in
    // the order found.
    void EnterPart(std::uint64_t part) { part_ = part; }
    // Whether a set with this key and defence, offered now, may be kept. Upper bounds for a
    // part of the search answer whether any of its sets could be. A set let in may still be
    // dropped again for better ones, but a set shut out could never have stayed.
    // Here, so that the expansion of a hit, which asks for nearly every member it meets, has it
    // inlined.
    bool MayEnter(std::int64_t key, std::int64_t defense) const {
        if (capacity_ == 0) {
            return false;
        }
        if (!hasBar_) {
            return true;
        }
        if (key != bar_.key) {
            return key > bar_.key;
        }
        // A set offered now comes after every set of its part offered before.
        return defense != bar_.defense ? defense > bar_.defense : part_ < bar_.part;
    }
    // The least key with which a set of this defence, offered now, may be kept. Inlined too:
    // the enumeration asks it for nearly every part it enters.
    std::int64_t LeastKeyToEnter(std::int64_t defense) const {
        if (capacity_ == 0) {
            return std::numeric_limits<std::int64_t>::max();
        }
        if (!hasBar_) {
            return std::numeric_limits<std::int64_t>::min();
        }
        const bool winsTie = defense != bar_.defense ? defense > bar_.defense : part_ < bar_.part;
        return winsTie ? bar_.key : bar_.key + 1;
    }
    // Holds the decorations for the sets admitted with the number returned; number
    // kNoArrangement, which stands for none, is held from the start. A number holds until the
    // next call of ForgetDroppedArrangements.
    std::uint32_t KeepArrangement(const DecoBlock& decos);
    static constexpr std::uint32_t kNoArrangement = 0;
    // Gives back the arrangements of the sets cut out and numbers the others anew, once they are
    // many: called where no number kept before is used again.
    void ForgetDroppedArrangements();
    // Lets in the set of these pieces and kept arrangement if MayEnter allows it. The set is
    // built only if it is still kept at the end.
    void Admit(std::int64_t key, std::int64_t defense, CEquipData* const (&pieces)[kSlotCount],
               std::uint32_t arrangement, int weaponSlots);
    // Admits a copy of the set.
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
    // The list holds only what orders the sets and where what each is made of is stored: many
    // sets let in are dropped again, and a set dropped leaves its place in `made_` to the next.
    struct Entry {
        std::int64_t key;
        std::int64_t defense;
        std::uint64_t part;
        std::uint64_t order;
        std::size_t made;
    };
    // Small and side by side, so that letting a set in writes to memory at hand.
    struct Makings {
        CEquipData* pieces[kSlotCount];
        std::uint32_t arrangement;
        std::int32_t weaponSlots;
    };
    static bool Better(const Entry& a, const Entry& b);
    // The last part of the order: whether `a` was found before `b`.
    static bool FoundFirst(const Entry& a, const Entry& b) {
        return a.part != b.part ? a.part < b.part : a.order < b.order;
    }
    // Better as an object, not a function pointer, so that the standard algorithms inline it.
    struct BetterOrder {
        bool operator()(const Entry& a, const Entry& b) const { return Better(a, b); }
    };
    void MakeRoom();
    // A place in made_ for the makings of a set let in: one a dropped set left, else a new one.
    // Inline, as it runs for every set let in.
    std::size_t FreePlace() {
        if (freePlaces_.empty()) {
            made_.emplace_back();
            return made_.size() - 1;
        }
        const std::size_t place = freePlaces_.back();
        freePlaces_.pop_back();
        return place;
    }
    std::unique_ptr<CEquipSet> Build(const Makings& makings) const;
    void CutToCapacity();
    using EntryIt = std::vector<Entry>::iterator;
    std::pair<EntryIt, EntryIt> PlaceBucketsAboveCut();
    template <typename BucketOf>
    std::pair<EntryIt, EntryIt> PlaceAboveCut(BucketOf bucketOf, std::uint64_t buckets);
    void SortByKey();

    std::size_t capacity_;
    // Sets are let in unordered until `cutAt_` are held, then cut to the best `capacity_` at
    // once: a cut costs about as much as the sets it drops took to enter, where keeping the
    // list in order took a heap step of many comparisons for each set.
    std::size_t cutAt_;
    std::vector<Entry> entries_;
    // The keys and defences of the entries, kept up as they come and go, so that a cut need not
    // look at every entry for them first.
    ValueSpan keys_;
    ValueSpan defenses_;
    // The worst set kept at the last cut: none worse can stay. Only valid once `hasBar_`.
    Entry bar_{};
    bool hasBar_ = false;
    std::vector<Makings> made_;
    std::vector<std::size_t> freePlaces_; // places in `made_` of sets dropped
    std::vector<DecoBlock> arrangements_;
    std::vector<std::uint32_t> renumbered_;   // scratch for ForgetDroppedArrangements
    std::vector<std::uint32_t> bucketCounts_; // scratch for CutToCapacity
    std::vector<Entry> tied_;                 // scratch for CutToCapacity
    std::uint64_t offered_ = 0;
    std::uint64_t part_ = 0;
    bool cut_ = false;
    bool maybeCut_ = false;
};
