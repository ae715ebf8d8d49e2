#include "engine/search/ranked_sets.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// The list is cut each time a quarter of its capacity more has been let in: cuts further apart
// let in more sets a cut drops again, as the bar between them lags behind the list, and cuts
// closer together sort the whole list more often. A list of a million sets cuts more often.
constexpr std::size_t kMostBetweenCuts = std::size_t{1} << 20;

// The list's two arrays are made room for at the first set let in, up to the first cut: grown by
// doubling, they were copied to fresh memory again and again, and for a million sets those
// copies faulted in more pages than the sets themselves. Room never written to takes no pages.
// Longer lists grow on from half a million entries: the allocator hands arrays of that size out
// again from the memory of an earlier search, but maps much larger ones fresh each time, which
// cost the searches of a process that ranks one million-set list after another a tenth more.
constexpr std::size_t kMostReserved = std::size_t{1} << 19;

// The most buckets the final order counts into, and per set kept.
constexpr std::uint64_t kMostBuckets = std::uint64_t{1} << 22;
constexpr std::uint64_t kBucketsPerSet = 2;
// Arrangements never worth giving back.
constexpr std::size_t kFewArrangements = 1024;

// The number of values from least to most, or one more than kMostBuckets when it is more: such
// a width fits no count of buckets.
std::uint64_t Width(const ValueSpan& span) {
    const auto width =
        static_cast<std::uint64_t>(span.most) - static_cast<std::uint64_t>(span.least);
    return width >= kMostBuckets ? kMostBuckets + 1 : width + 1;
}

// Small integer ranges (free slots, owned pieces, resistances, and defence over a list of sets
// close in it) take one bucket per key and defence, or per key where the pairs are too many: the
// sets of a bucket are few, and only those are compared.
struct Buckets {
    std::int64_t mostKey = 0;
    std::int64_t mostDefense = 0;
    std::uint64_t defenseWidth = 1; // 1 when buckets go by key alone
    std::uint64_t count = 0;        // 0 when the keys are too many for buckets

    std::uint64_t Of(std::int64_t key, std::int64_t defense) const {
        return defenseWidth == 1 ? ByKey(key) : ByKeyAndDefense(key, defense);
    }
    std::uint64_t ByKey(std::int64_t key) const {
        return static_cast<std::uint64_t>(mostKey) - static_cast<std::uint64_t>(key);
    }
    // Only where the buckets go by key and defence.
    std::uint64_t ByKeyAndDefense(std::int64_t key, std::int64_t defense) const {
        return ByKey(key) * defenseWidth +
               (static_cast<std::uint64_t>(mostDefense) - static_cast<std::uint64_t>(defense));
    }
};

Buckets BucketsOf(const ValueSpan& keys, const ValueSpan& defenses, std::size_t entries) {
    const std::uint64_t most = std::min<std::uint64_t>(kMostBuckets, kBucketsPerSet * entries);
    Buckets buckets{keys.most, defenses.most};
    const std::uint64_t keyWidth = Width(keys);
    const std::uint64_t defenseWidth = Width(defenses);
    if (keyWidth <= most / defenseWidth) {
        buckets.defenseWidth = defenseWidth;
        buckets.count = keyWidth * defenseWidth;
    } else if (keyWidth <= most) {
        buckets.count = keyWidth;
    }
    return buckets;
}

// One counting pass finds where each bucket's entries go, and each entry is swapped straight into
// its bucket's place: a sorted copy of a list of half a million sets took twenty fresh megabytes,
// zeroed and faulted in, at every sort. Only the entries that share a bucket are compared; as no
// two entries are alike in the order, the order they meet each other in makes no difference.
template <typename Entries, typename BetterOrder>
void SortInBuckets(Entries& entries, const Buckets& buckets, BetterOrder better) {
    std::vector<std::size_t> starts(buckets.count + 1, 0);
    for (const auto& entry : entries) {
        ++starts[buckets.Of(entry.key, entry.defense) + 1];
    }
    for (std::size_t bucket = 1; bucket < starts.size(); ++bucket) {
        starts[bucket] += starts[bucket - 1];
    }
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (std::size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
        while (next[bucket] < starts[bucket + 1]) {
            auto& entry = entries[next[bucket]];
            const std::uint64_t home = buckets.Of(entry.key, entry.defense);
            if (home == bucket) {
                ++next[bucket];
            } else {
                std::swap(entry, entries[next[home]++]);
            }
        }
    }
    for (std::size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
        if (starts[bucket + 1] - starts[bucket] > 1) {
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(starts[bucket]),
                      entries.begin() + static_cast<std::ptrdiff_t>(starts[bucket + 1]), better);
        }
    }
}
} // namespace

RankedSets::RankedSets(std::size_t capacity)
    : capacity_(capacity),
      cutAt_(capacity + std::max<std::size_t>(std::min(capacity, kMostBetweenCuts) / 4, 1)),
      arrangements_(1) {}

// Without branches: nth_element and sort compare entries in no predictable pattern.
bool RankedSets::Better(const Entry& a, const Entry& b) {
    const bool defenseFirst =
        (a.defense > b.defense) | ((a.defense == b.defense) & FoundFirst(a, b));
    return (a.key > b.key) | ((a.key == b.key) & defenseFirst);
}

std::uint32_t RankedSets::KeepArrangement(const DecoBlock& decos) {
    arrangements_.push_back(decos);
    return static_cast<std::uint32_t>(arrangements_.size() - 1);
}

void RankedSets::Admit(std::int64_t key, std::int64_t defense,
                       CEquipData* const (&pieces)[kSlotCount], std::uint32_t arrangement,
                       int weaponSlots) {
    if (!MayEnter(key, defense)) {
        cut_ = true;
        return;
    }
    if (entries_.size() >= cutAt_) {
        CutToCapacity();
        if (!MayEnter(key, defense)) {
            cut_ = true;
            return;
        }
    }
    if (entries_.capacity() == 0) {
        MakeRoom();
    }
    const std::size_t made = FreePlace();
    Makings& makings = made_[made];
    std::copy_n(pieces, kSlotCount, makings.pieces);
    makings.arrangement = arrangement;
    makings.weaponSlots = weaponSlots;
    entries_.push_back(Entry{key, defense, part_, offered_++, made});
    keys_.Take(key);
    defenses_.Take(defense);
    // More sets than the list holds: some set will be dropped.
    cut_ = cut_ || entries_.size() > capacity_;
    // The first full list sets the bar, so that worse sets are shut out from then on.
    if (!hasBar_ && entries_.size() == capacity_) {
        CutToCapacity();
    }
}

// Sets offered one by one, as a refine does, often share the decorations of the set before.
void RankedSets::Offer(std::int64_t key, std::int64_t defense, const CEquipSet& set) {
    if (!MayEnter(key, defense)) {
        cut_ = true;
        return;
    }
    ForgetDroppedArrangements();
    const DecoBlock decos = DecorationsOf(set);
    const DecoBlock& last = arrangements_.back();
    const bool sameAsLast = std::memcmp(decos.decos, last.decos, sizeof decos.decos) == 0;
    const std::uint32_t arrangement =
        sameAsLast ? static_cast<std::uint32_t>(arrangements_.size() - 1) : KeepArrangement(decos);
    CEquipData* pieces[kSlotCount];
    std::copy_n(set.pieces, kSlotCount, pieces);
    Admit(key, defense, pieces, arrangement, set.weaponSlots);
}

void RankedSets::MakeRoom() {
    entries_.reserve(std::min(cutAt_, kMostReserved));
    made_.reserve(std::min(cutAt_, kMostReserved));
}

std::unique_ptr<CEquipSet> RankedSets::Build(const Makings& makings) const {
    auto set = std::make_unique<CEquipSet>();
    FillSet(*set, makings.pieces, arrangements_[makings.arrangement], makings.weaponSlots);
    return set;
}

// Keeps the best `capacity_` entries, unordered, and makes the worst of them the bar.
void RankedSets::CutToCapacity() {
    const auto last = entries_.begin() + static_cast<std::ptrdiff_t>(capacity_ - 1);
    const auto tied = PlaceBucketsAboveCut();
    std::nth_element(tied.first, last, tied.second, BetterOrder{});
    bar_ = *last;
    hasBar_ = true;
    for (auto dropped = last + 1; dropped != entries_.end(); ++dropped) {
        freePlaces_.push_back(dropped->made);
    }
    entries_.erase(last + 1, entries_.end());
    // The best set stays, so the most key does; the bar is the least. The defences of the
    // entries placed above the cut's bucket were taken as they were placed.
    keys_.least = bar_.key;
    for (auto kept = tied.first; kept != entries_.end(); ++kept) {
        defenses_.Take(kept->defense);
    }
}

// Where the keys and defences are few, counts them to find the bucket the cut falls in, puts the
// entries of better buckets before it and drops those of worse ones: only the entries of that
// bucket, returned, need comparing. Without buckets, that is all of them.
std::pair<RankedSets::EntryIt, RankedSets::EntryIt> RankedSets::PlaceBucketsAboveCut() {
    const Buckets buckets = BucketsOf(keys_, defenses_, entries_.size());
    defenses_ = ValueSpan{};
    if (buckets.count == 0) {
        return {entries_.begin(), entries_.end()};
    }
    // Two loops, one for each way of counting, so that neither asks which way at every entry.
    if (buckets.defenseWidth == 1) {
        return PlaceAboveCut([buckets](const Entry& entry) { return buckets.ByKey(entry.key); },
                             buckets.count);
    }
    return PlaceAboveCut(
        [buckets](const Entry& entry) { return buckets.ByKeyAndDefense(entry.key, entry.defense); },
        buckets.count);
}

// The counting and the one pass of PlaceBucketsAboveCut, with the bucket of an entry told by
// `bucketOf`. It takes the defences of the better entries kept.
template <typename BucketOf>
std::pair<RankedSets::EntryIt, RankedSets::EntryIt>
RankedSets::PlaceAboveCut(BucketOf bucketOf, std::uint64_t buckets) {
    bucketCounts_.assign(buckets, 0);
    for (const Entry& entry : entries_) {
        ++bucketCounts_[bucketOf(entry)];
    }
    std::uint64_t cutBucket = 0;
    std::size_t above = 0;
    while (above + bucketCounts_[cutBucket] < capacity_) {
        above += bucketCounts_[cutBucket++];
    }
    // One pass looks at each entry once: the better ones stay in front, those of the cut's bucket
    // wait aside, the worse ones are dropped at once, and the place of an entry taken out is
    // filled from the end. The order of the entries counts for nothing: the cut and the final
    // sort compare by the whole order.
    tied_.clear();
    auto better = entries_.begin();
    auto end = entries_.end();
    while (better != end) {
        const std::uint64_t bucket = bucketOf(*better);
        if (bucket < cutBucket) {
            defenses_.Take(better->defense);
            ++better;
            continue;
        }
        if (bucket == cutBucket) {
            tied_.push_back(*better);
        } else {
            freePlaces_.push_back(better->made);
        }
        *better = *--end;
    }
    const auto first = std::copy(tied_.begin(), tied_.end(), better) - tied_.size();
    entries_.erase(first + tied_.size(), entries_.end());
    return {first, entries_.end()};
}

// Only once the arrangements have come to twice the sets kept, so that their number stays within
// a few times the capacity and a pass over the list is paid for by as many arrangements kept.
// They keep their order, so that the last one kept stays the last.
void RankedSets::ForgetDroppedArrangements() {
    if (arrangements_.size() <= kFewArrangements + 2 * entries_.size()) {
        return;
    }
    constexpr std::uint32_t kDropped = ~std::uint32_t{0};
    renumbered_.assign(arrangements_.size(), kDropped);
    renumbered_[kNoArrangement] = kNoArrangement;
    for (const Entry& entry : entries_) {
        renumbered_[made_[entry.made].arrangement] = kNoArrangement;
    }
    std::uint32_t next = kNoArrangement + 1;
    for (std::uint32_t old = kNoArrangement + 1; old < arrangements_.size(); ++old) {
        if (renumbered_[old] != kDropped) {
            arrangements_[next] = arrangements_[old];
            renumbered_[old] = next++;
        }
    }
    arrangements_.resize(next);
    for (const Entry& entry : entries_) {
        std::uint32_t& arrangement = made_[entry.made].arrangement;
        arrangement = renumbered_[arrangement];
    }
}

std::vector<std::unique_ptr<CEquipSet>> RankedSets::TakeRanked() {
    if (entries_.size() > capacity_) {
        CutToCapacity();
    }
    SortByKey();
    std::vector<std::unique_ptr<CEquipSet>> sets;
    sets.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        sets.push_back(Build(made_[entry.made]));
    }
    entries_.clear();
    keys_ = ValueSpan{};
    defenses_ = ValueSpan{};
    hasBar_ = false;
    made_.clear();
    freePlaces_.clear();
    arrangements_.resize(1);
    return sets;
}

void RankedSets::SortByKey() {
    if (entries_.empty()) {
        return;
    }
    const Buckets buckets = BucketsOf(keys_, defenses_, entries_.size());
    if (buckets.count == 0) {
        std::sort(entries_.begin(), entries_.end(), BetterOrder{});
    } else if (buckets.defenseWidth == 1) {
        // The entries of a bucket share their key: only the rest of the order tells them apart.
        SortInBuckets(entries_, buckets, [](const Entry& a, const Entry& b) {
            return a.defense != b.defense ? a.defense > b.defense : FoundFirst(a, b);
        });
    } else {
        // And their defence.
        SortInBuckets(entries_, buckets,
                      [](const Entry& a, const Entry& b) { return FoundFirst(a, b); });
    }
}
