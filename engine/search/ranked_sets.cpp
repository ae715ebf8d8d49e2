#include "engine/search/ranked_sets.h"

#include <algorithm>
#include <bit>
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

// The buckets the list holds its entries in by key. The keys held spread over half of them at
// most, with a quarter to spare on each side, so that keys a little better or worse than those
// before fit in without the entries put in other buckets.
constexpr int kKeyBucketBits = 12;
constexpr std::size_t kKeyBuckets = std::size_t{1} << kKeyBucketBits;
// Defences spread wider than this, or keys so wide that their positions would not fit beside
// the defences', leave the defences to the comparisons within each bucket.
constexpr std::uint64_t kWidestDefenses = std::uint64_t{1} << 20;
constexpr std::uint64_t kWidestKeysByDefense = std::uint64_t{1} << 40;

// The most buckets the final order counts into, and per set kept.
constexpr std::uint64_t kMostBuckets = std::uint64_t{1} << 22;
constexpr std::uint64_t kBucketsPerSet = 2;
// Arrangements never worth giving back.
constexpr std::size_t kFewArrangements = 1024;

// `value` less `by`, or the least value there is where that is less.
std::int64_t Below(std::int64_t value, std::uint64_t by) {
    const std::uint64_t room = static_cast<std::uint64_t>(value) -
                               static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::min());
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(value) - std::min(by, room));
}

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
    if (size_ >= cutAt_) {
        CutToCapacity();
        if (!MayEnter(key, defense)) {
            cut_ = true;
            return;
        }
    }
    // The first set let in finds no buckets.
    if (!Holds(key, defense)) {
        if (made_.capacity() == 0) {
            MakeRoom();
        }
        Rebucket(key, defense);
    }
    const std::size_t made = FreePlace();
    Makings& makings = made_[made];
    // Copied in line: std::copy_n called memmove for every set.
    std::memcpy(makings.pieces, pieces, sizeof makings.pieces);
    makings.arrangement = arrangement;
    makings.weaponSlots = weaponSlots;
    held_[made] = Entry{key, defense, part_, offered_++, made, kEnd};
    Link(buckets_[BucketOf(key, defense)], made);
    ++size_;
    keys_.Take(key);
    defenses_.Take(defense);
    // More sets than the list holds: some set will be dropped.
    cut_ = cut_ || size_ > capacity_;
    // The first full list sets the bar, so that worse sets are shut out from then on.
    if (!hasBar_ && size_ == capacity_) {
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
    made_.reserve(std::min(cutAt_, kMostReserved));
    held_.reserve(std::min(cutAt_, kMostReserved));
}

std::unique_ptr<CEquipSet> RankedSets::Build(const Makings& makings) const {
    auto set = std::make_unique<CEquipSet>();
    FillSet(*set, makings.pieces, arrangements_[makings.arrangement], makings.weaponSlots);
    return set;
}

// The buckets from the least key held to the most, worst first.
template <typename Visit> void RankedSets::EachEntry(Visit visit) const {
    if (size_ == 0) {
        return;
    }
    const std::size_t last = BucketOf(keys_.most, defenses_.most);
    for (std::size_t bucket = BucketOf(keys_.least, defenses_.least); bucket <= last; ++bucket) {
        for (std::size_t place = buckets_[bucket].first; place != kEnd; place = held_[place].next) {
            visit(held_[place]);
        }
    }
}

// Spreads the keys and defences held and those of a set let in anew over the buckets, the fewest
// to a bucket that fit with room to spare on both sides. Only a set outside the buckets' span
// calls it, so it runs a few times a list: once the bar is set, no key falls below the least one
// held, and the defences spread over twice their span at the time.
void RankedSets::Rebucket(std::int64_t key, std::int64_t defense) {
    ValueSpan keys = keys_;
    ValueSpan defenses = defenses_;
    keys.Take(key);
    defenses.Take(defense);
    const std::uint64_t keyWidth = Offset(keys.most, keys.least);
    const std::uint64_t defenseWidth = Offset(defenses.most, defenses.least);
    const bool byDefense = defenseWidth < kWidestDefenses && keyWidth < kWidestKeysByDefense;
    defenseBits_ = byDefense ? static_cast<int>(std::bit_width(2 * defenseWidth + 1)) : 0;
    defenseMask_ = (std::uint64_t{1} << defenseBits_) - 1;
    defenseBase_ = byDefense ? Below(defenses.least, (defenseMask_ - defenseWidth) / 2) : 0;
    const std::uint64_t width = (keyWidth << defenseBits_) + defenseMask_;
    shift_ = 0;
    while ((width >> shift_) >= kKeyBuckets / 2) {
        ++shift_;
    }
    keyBase_ = Below(keys.least, (std::uint64_t{kKeyBuckets / 4} << shift_) >> defenseBits_);
    const int positionBits = shift_ + kKeyBucketBits;
    const std::uint64_t mostPosition =
        positionBits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << positionBits) - 1;
    mostKeyOffset_ = (mostPosition - defenseMask_) >> defenseBits_;
    std::vector<Bucket> old(kKeyBuckets);
    buckets_.swap(old);
    for (const Bucket& bucket : old) {
        for (std::size_t place = bucket.first; place != kEnd;) {
            const std::size_t next = held_[place].next;
            Link(buckets_[BucketOf(held_[place].key, held_[place].defense)], place);
            place = next;
        }
    }
}

// Keeps the best `capacity_` entries and makes the worst of them the bar. The buckets above the
// one the cut falls in stay as they are, those below are dropped whole, and only the entries of
// that one are compared.
void RankedSets::CutToCapacity() {
    std::size_t above = 0;
    std::size_t cut = BucketOf(keys_.most, defenses_.most);
    while (above + buckets_[cut].count < capacity_) {
        above += buckets_[cut--].count;
    }
    Bucket& bucket = buckets_[cut];
    tied_.clear();
    for (std::size_t place = bucket.first; place != kEnd; place = held_[place].next) {
        tied_.push_back(held_[place]);
    }
    const auto last = tied_.begin() + static_cast<std::ptrdiff_t>(capacity_ - above - 1);
    std::nth_element(tied_.begin(), last, tied_.end(), BetterOrder{});
    bar_ = *last;
    hasBar_ = true;
    bucket = Bucket{};
    for (auto kept = tied_.begin(); kept != last + 1; ++kept) {
        Link(bucket, kept->made);
    }
    for (auto dropped = last + 1; dropped != tied_.end(); ++dropped) {
        freePlaces_.push_back(dropped->made);
    }
    for (std::size_t worse = BucketOf(keys_.least, defenses_.least); worse < cut; ++worse) {
        DropBucket(buckets_[worse]);
    }
    size_ = capacity_;
    // The best set stays, so the most key does; the bar is the least.
    keys_.least = bar_.key;
}

void RankedSets::DropBucket(Bucket& bucket) {
    for (std::size_t place = bucket.first; place != kEnd; place = held_[place].next) {
        freePlaces_.push_back(place);
    }
    bucket = Bucket{};
}

// Only once the arrangements have come to twice the sets kept, so that their number stays within
// a few times the capacity and a pass over the list is paid for by as many arrangements kept.
// They keep their order, so that the last one kept stays the last.
void RankedSets::ForgetDroppedArrangements() {
    if (arrangements_.size() <= kFewArrangements + 2 * size_) {
        return;
    }
    constexpr std::uint32_t kDropped = ~std::uint32_t{0};
    renumbered_.assign(arrangements_.size(), kDropped);
    renumbered_[kNoArrangement] = kNoArrangement;
    EachEntry([this](const Entry& entry) {
        renumbered_[made_[entry.made].arrangement] = kNoArrangement;
    });
    std::uint32_t next = kNoArrangement + 1;
    for (std::uint32_t old = kNoArrangement + 1; old < arrangements_.size(); ++old) {
        if (renumbered_[old] != kDropped) {
            arrangements_[next] = arrangements_[old];
            renumbered_[old] = next++;
        }
    }
    arrangements_.resize(next);
    EachEntry([this](const Entry& entry) {
        std::uint32_t& arrangement = made_[entry.made].arrangement;
        arrangement = renumbered_[arrangement];
    });
}

std::vector<std::unique_ptr<CEquipSet>> RankedSets::TakeRanked() {
    if (size_ > capacity_) {
        CutToCapacity();
    }
    entries_.reserve(size_);
    ValueSpan defenses;
    EachEntry([this, &defenses](const Entry& entry) {
        entries_.push_back(entry);
        defenses.Take(entry.defense);
    });
    SortByKey(defenses);
    std::vector<std::unique_ptr<CEquipSet>> sets;
    sets.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        sets.push_back(Build(made_[entry.made]));
    }
    entries_.clear();
    buckets_.clear();
    held_.clear();
    size_ = 0;
    keys_ = ValueSpan{};
    defenses_ = ValueSpan{};
    hasBar_ = false;
    made_.clear();
    freePlaces_.clear();
    arrangements_.resize(1);
    return sets;
}

void RankedSets::SortByKey(const ValueSpan& defenses) {
    if (entries_.empty()) {
        return;
    }
    const Buckets buckets = BucketsOf(keys_, defenses, entries_.size());
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
