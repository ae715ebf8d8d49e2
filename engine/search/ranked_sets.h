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
        std::size_t next; // the next entry of its bucket, by place, or kEnd
    };
    static constexpr std::size_t kEnd = ~std::size_t{0};
    // The entries of a bucket are chained through their places in `held_`.
    struct Bucket {
        std::size_t first = kEnd;
        std::size_t count = 0;
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
            held_.emplace_back();
            return made_.size() - 1;
        }
        const std::size_t place = freePlaces_.back();
        freePlaces_.pop_back();
        return place;
    }
    std::unique_ptr<CEquipSet> Build(const Makings& makings) const;
    static std::uint64_t Offset(std::int64_t value, std::int64_t base) {
        return static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(base);
    }
    // The buckets go by key and, within a key, by defence where the defences are few: the key's
    // offset from `keyBase_` above the defence's from `defenseBase_`, `shift_` bits to a bucket.
    std::size_t BucketOf(std::int64_t key, std::int64_t defense) const {
        const std::uint64_t position = (Offset(key, keyBase_) << defenseBits_) +
                                       (Offset(defense, defenseBase_) & defenseMask_);
        return static_cast<std::size_t>(position >> shift_);
    }
    bool Holds(std::int64_t key, std::int64_t defense) const {
        return !buckets_.empty() && key >= keyBase_ && Offset(key, keyBase_) <= mostKeyOffset_ &&
               (defenseMask_ == 0 || Offset(defense, defenseBase_) <= defenseMask_);
    }
    void Rebucket(std::int64_t key, std::int64_t defense);
    template <typename Visit> void EachEntry(Visit visit) const;
    void CutToCapacity();
    void Link(Bucket& bucket, std::size_t place) {
        held_[place].next = bucket.first;
        bucket.first = place;
        ++bucket.count;
    }
    void DropBucket(Bucket& bucket);
    void SortByKey(const ValueSpan& defenses);

    std::size_t capacity_;
    // Sets are let in unordered until `cutAt_` are held, then cut to the best `capacity_` at
    // once: a cut costs about as much as the sets it drops took to enter, where keeping the
    // list in order took a heap step of many comparisons for each set.
    std::size_t cutAt_;
    // The entries in buckets by key and defence, worst first, each bucket unordered: a cut looks
    // only at the entries of the bucket it falls in and of those it drops, however many stay
    // above it. `size_` in all. Chained in place, so that letting a set in moves no other.
    std::vector<Bucket> buckets_;
    std::int64_t keyBase_ = 0;
    std::uint64_t mostKeyOffset_ = 0;
    std::int64_t defenseBase_ = 0;
    std::uint64_t defenseMask_ = 0; // 0 where the buckets go by key alone
    int defenseBits_ = 0;
    int shift_ = 0;
    std::size_t size_ = 0;
    // The keys of the entries held, from the bar up, and the defences of all let in since the
    // list was last taken.
    ValueSpan keys_;
    ValueSpan defenses_;
    std::vector<Entry> held_;    // by place, as `made_`
    std::vector<Entry> tied_;    // scratch for CutToCapacity
    std::vector<Entry> entries_; // the entries kept, as the final sort orders them
    // The worst set kept at the last cut: none worse can stay. Only valid once `hasBar_`.
    Entry bar_{};
    bool hasBar_ = false;
    std::vector<Makings> made_;
    std::vector<std::size_t> freePlaces_; // places in `made_` of sets dropped
    std::vector<DecoBlock> arrangements_;
    std::vector<std::uint32_t> renumbered_; // scratch for ForgetDroppedArrangements
    std::uint64_t offered_ = 0;
    std::uint64_t part_ = 0;
    bool cut_ = false;
    bool maybeCut_ = false;
};
