#include "engine/search/frontier_table.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "engine/fitting/slot_check.h"

namespace {
// The exact fitting tells the slots of gains up to this; a larger gain needs as many as it.
constexpr int kWidestShortfall = 511;
// Defences of table data spread over a few hundred points; past this the counts are searched.
constexpr std::int64_t kWidestDefenseSpread = 1 << 14;
} // namespace

void FrontierTable::Build(const std::vector<Choice>& choices, const ExactFitter& fitter,
                          int slotCap, std::uint32_t slotChecked) {
    count_ = fitter.SkillCount();
    size_ = static_cast<int>(choices.size());
    stride_ = (size_ + kBlock - 1) / kBlock * kBlock;
    slotCap_ = slotCap;
    defense_.clear();
    ownSlots_.assign(stride_, 0);
    ownPointRoom_.assign(stride_, 0);
    slotChecked_ = size_ > 0 ? slotChecked : 0;
    mostChoiceSlots_ = 0;
    leastChoiceSlots_ = slotCap;
    for (int e = 0; e < size_; ++e) {
        defense_.push_back(choices[e].defense);
        ownSlots_[e] = static_cast<std::int16_t>(-std::clamp(choices[e].slots, 0, slotCap));
        ownPointRoom_[e] = static_cast<std::int16_t>(2 * ownSlots_[e] + 1);
        mostChoiceSlots_ = std::max(mostChoiceSlots_, choices[e].slots);
        leastChoiceSlots_ = std::min(leastChoiceSlots_, std::clamp(choices[e].slots, 0, slotCap));
    }
    BuildEligibleCounts();
    anyShared_ = false;
    for (int k = 0; k < count_; ++k) {
        sharedWith_[k] = 0;
        for (int m = 0; m < count_; ++m) {
            if (m != k && fitter.ServesBoth(k, m)) {
                sharedWith_[k] |= std::uint32_t{1} << m;
                anyShared_ = true;
            }
        }
        if (size_ > 0) {
            BuildNeedRows(k, choices, fitter);
            BuildLackRows(k, choices);
        }
        if ((slotChecked_ >> k & 1U) != 0) {
            KeepCheckedPoints(k, choices);
        }
    }
    BuildMostRoom();
    BuildMostNeedRoom(choices);
}

// Row x holds, per choice, the slots skill k needs when the prefix is x points short and the
// choice brings its own: none from the choice's points up, and capped one above the most any
// combination holds, which also keeps their sum small. Past the last row the values stay those
// of the last, or all reach the cap.
void FrontierTable::BuildNeedRows(int k, const std::vector<Choice>& choices,
                                  const ExactFitter& fitter) {
    const int cap = slotCap_ + 1;
    std::vector<std::uint8_t> slotsFor(1, 0);
    for (int r = 1; r <= kWidestShortfall && slotsFor.back() < cap; ++r) {
        slotsFor.push_back(static_cast<std::uint8_t>(std::min(fitter.SkillSlotsNeeded(k, r), cap)));
    }
    const int widest = static_cast<int>(slotsFor.size()) - 1;
    pointSlots_[k] = 0;
    if (slotsFor.back() >= cap) {
        pointSlots_[k] = std::numeric_limits<int>::max();
        for (int r = 1; r <= widest; ++r) {
            pointSlots_[k] = std::min(pointSlots_[k], kSlotScale * slotsFor[r] / r);
        }
    }
    const auto [least, most] =
        std::minmax_element(choices.begin(), choices.end(), [k](const Choice& a, const Choice& b) {
            return a.points[k] < b.points[k];
        });
    Rows& rows = need_[k];
    rows.first = least->points[k];
    leastNeedPoints_[k] = rows.first;
    rows.last = most->points[k] + widest;
    rows.bytes.assign(static_cast<std::size_t>(rows.last - rows.first + 1) * stride_,
                      static_cast<std::uint8_t>(cap));
    // The table padded on both sides with its ends, by as much as the choices' points spread, so
    // that every row reads it at the row's shortfall less a choice's points without clamping.
    const int spread = most->points[k] - rows.first;
    std::vector<std::uint8_t> padded(static_cast<std::size_t>(spread), slotsFor.front());
    padded.insert(padded.end(), slotsFor.begin(), slotsFor.end());
    padded.insert(padded.end(), static_cast<std::size_t>(spread), slotsFor.back());
    std::vector<int> lane(static_cast<std::size_t>(size_));
    for (int e = 0; e < size_; ++e) {
        lane[static_cast<std::size_t>(e)] = most->points[k] - choices[e].points[k];
    }
    for (int x = rows.first; x <= rows.last; ++x) {
        std::uint8_t* row = rows.bytes.data() + static_cast<std::size_t>(x - rows.first) * stride_;
        const std::uint8_t* from = padded.data() + (x - rows.first);
        for (int e = 0; e < size_; ++e) {
            row[e] = from[lane[static_cast<std::size_t>(e)]];
        }
    }
}

// Row w, for w above the weakest choice's best, marks the choices whose best with decorations
// falls short of a prefix w short of the goal: with more slots than any combination holds, so
// that adding the rows up rules them out.
void FrontierTable::BuildLackRows(int k, const std::vector<Choice>& choices) {
    const auto [least, most] =
        std::minmax_element(choices.begin(), choices.end(), [k](const Choice& a, const Choice& b) {
            return a.with[k] < b.with[k];
        });
    Rows& rows = lack_[k];
    rows.first = least->with[k];
    rows.last = most->with[k];
    rows.bytes.assign(static_cast<std::size_t>(rows.last - rows.first) * stride_, kLacks);
    for (int w = rows.first + 1; w <= rows.last; ++w) {
        std::uint8_t* row =
            rows.bytes.data() + static_cast<std::size_t>(w - rows.first - 1) * stride_;
        for (int e = 0; e < size_; ++e) {
            row[e] = choices[e].with[k] < w ? kLacks : 0;
        }
    }
}

// The points of a choice in skill k as lanes to subtract from a prefix's shortfall.
void FrontierTable::KeepCheckedPoints(int k, const std::vector<Choice>& choices) {
    std::vector<std::int16_t>& points = checkedPoints_[k];
    points.assign(stride_, 0);
    leastPoints_[k] = choices.front().points[k];
    mostPoints_[k] = choices.front().points[k];
    for (int e = 0; e < size_; ++e) {
        points[e] = static_cast<std::int16_t>(choices[e].points[k]);
        leastPoints_[k] = std::min(leastPoints_[k], choices[e].points[k]);
        mostPoints_[k] = std::max(mostPoints_[k], choices[e].points[k]);
    }
}

void FrontierTable::BuildEligibleCounts() {
    eligibleFrom_.clear();
    if (size_ == 0 || defense_.front() - defense_.back() >= kWidestDefenseSpread) {
        return;
    }
    const std::int64_t weakest = defense_.back();
    eligibleFrom_.resize(static_cast<std::size_t>(defense_.front() - weakest + 1));
    int count = size_;
    for (std::int64_t d = weakest; d <= defense_.front(); ++d) {
        while (defense_[count - 1] < d) {
            --count;
        }
        eligibleFrom_[static_cast<std::size_t>(d - weakest)] = count;
    }
}

// This and the tests AnyMayMeet makes before the rows, PrepareSlotCheck and SummedNeedMayFit, are
// made in line: nearly every prefix asks them, and their calls cost about what they do.
inline int FrontierTable::Eligible(std::int64_t leastDefense) const {
    if (leastDefense <= defense_.back()) {
        return size_;
    }
    if (leastDefense > defense_.front()) {
        return 0;
    }
    if (!eligibleFrom_.empty()) {
        return eligibleFrom_[static_cast<std::size_t>(leastDefense - defense_.back())];
    }
    // Halves the choices without branches, which the defences of prefixes would mostly
    // mispredict.
    const std::int64_t* first = defense_.data();
    int length = size_;
    while (length > 1) {
        const int half = length / 2;
        first = first[half] >= leastDefense ? first + half : first;
        length -= half;
    }
    return static_cast<int>(first - defense_.data()) + (*first >= leastDefense ? 1 : 0);
}

// The rows of what each skill still needs, then those of what the best decorations cannot make
// up; false when some skill lacks more than any choice makes up.
bool FrontierTable::Prepare(const int* pointsShort, const int* withShort, Query& query) const {
    query.needCount = 0;
    for (int k = 0; k < count_; ++k) {
        const Rows& needRows = need_[k];
        if (pointsShort[k] > needRows.first) {
            const int x = std::min(pointsShort[k], needRows.last) - needRows.first;
            query.rows[query.needCount] =
                needRows.bytes.data() + static_cast<std::size_t>(x) * stride_;
            query.skillOf[query.needCount++] = k;
        }
    }
    query.rowCount = query.needCount;
    for (int k = 0; k < count_; ++k) {
        const Rows& lackRows = lack_[k];
        if (withShort[k] > lackRows.last) {
            return false;
        }
        if (withShort[k] > lackRows.first) {
            const int w = withShort[k] - lackRows.first - 1;
            query.rows[query.rowCount++] =
                lackRows.bytes.data() + static_cast<std::size_t>(w) * stride_;
        }
    }
    return true;
}

// What the slot check leaves to weigh choice by choice among the first `end`: nothing where even
// the choice with the fewest points and slots passes it, and false where even the one with the
// most fails, or where no choice can make up the summed shortfall.
inline bool FrontierTable::PrepareSlotCheck(const int* pointsShort, int slots, int end,
                                            Query& query) const {
    query.checkedCount = 0;
    if (slotChecked_ == 0) {
        return true;
    }
    int mostMissing = 0;
    int leastMissing = 0;
    for (int k = 0; k < count_; ++k) {
        if ((slotChecked_ >> k & 1U) != 0) {
            mostMissing += std::max(pointsShort[k] - leastPoints_[k], 0);
            leastMissing += std::max(pointsShort[k] - mostPoints_[k], 0);
        }
    }
    if (leastMissing > kSlotCheckPointsPerSlot * (slots + mostChoiceSlots_)) {
        return false;
    }
    if (mostMissing <= kSlotCheckPointsPerSlot * (slots + leastChoiceSlots_)) {
        return true;
    }
    std::uint32_t summed = 0;
    int shortOfSummed = 0;
    for (int k = 0; k < count_; ++k) {
        if ((slotChecked_ >> k & 1U) != 0 && pointsShort[k] > leastPoints_[k]) {
            query.checkedPoints[query.checkedCount] = checkedPoints_[k].data();
            query.checkedShort[query.checkedCount++] = pointsShort[k];
            summed |= std::uint32_t{1} << checkedBit_[k];
            shortOfSummed += pointsShort[k];
        }
    }
    return mostRoom_.empty() || end == 0 ||
           shortOfSummed - mostRoom_[summed * size_ + end - 1] <= kSlotCheckPointsPerSlot * slots;
}

// For every set of the checked skills and every count e of choices, the most that one of the
// first e choices brings in points of those skills and in twice its slots. What a choice misses
// in all checked skills is at least its shortfall summed over any of them, so where the summed
// shortfall of the skills it weighs, less that most, is still more than twice the prefix's
// slots, every choice fails the slot check: most prefixes a pass over the blocks would rule out
// are answered by one look-up. Sets are counted up from the empty one, each from the one without
// its lowest skill.
void FrontierTable::BuildMostRoom() {
    mostRoom_.clear();
    int checked[kMaxTrackedSkills];
    int checkedCount = 0;
    for (int k = 0; k < count_; ++k) {
        checkedBit_[k] = checkedCount;
        if ((slotChecked_ >> k & 1U) != 0) {
            checked[checkedCount++] = k;
        }
    }
    if (checkedCount == 0 || checkedCount > kMostSummedSkills) {
        return;
    }
    const std::size_t sets = std::size_t{1} << checkedCount;
    const auto size = static_cast<std::size_t>(size_);
    std::vector<int> room(sets * size);
    mostRoom_.resize(sets * size);
    for (std::size_t set = 0; set < sets; ++set) {
        const std::size_t without = set & (set - 1);
        const int lowest = set == 0 ? 0 : checked[std::countr_zero(set)];
        for (std::size_t e = 0; e < size; ++e) {
            room[set * size + e] = set == 0 ? -kSlotCheckPointsPerSlot * ownSlots_[e]
                                            : room[without * size + e] + checkedPoints_[lowest][e];
            mostRoom_[set * size + e] =
                e == 0 ? room[set * size]
                       : std::max(mostRoom_[set * size + e - 1], room[set * size + e]);
        }
    }
}

// A choice passes only where the need rows of its shortfalls add up to no more than the prefix's
// slots and its own, each row then below the cap and so at least pointSlots_ times its shortfall.
// Summed over any set of skills, the shortfalls less the choice's points bound that from below,
// as a skill the choice brings more than enough for only lowers the sum. Sets are counted up
// from the empty one, each from the one without its lowest skill.
void FrontierTable::BuildMostNeedRoom(const std::vector<Choice>& choices) {
    mostNeedRoom_.clear();
    if (size_ == 0 || anyShared_ || count_ > kMostSummedSkills) {
        return;
    }
    const std::size_t sets = std::size_t{1} << count_;
    const auto size = static_cast<std::size_t>(size_);
    std::vector<std::int64_t> room(sets * size);
    mostNeedRoom_.resize(sets * size);
    for (std::size_t set = 0; set < sets; ++set) {
        const std::size_t without = set & (set - 1);
        const int lowest = set == 0 ? 0 : std::countr_zero(set);
        for (std::size_t e = 0; e < size; ++e) {
            room[set * size + e] =
                set == 0 ? -std::int64_t{kSlotScale} * ownSlots_[e]
                         : room[without * size + e] +
                               std::int64_t{pointSlots_[lowest]} * choices[e].points[lowest];
            mostNeedRoom_[set * size + e] =
                e == 0 ? room[set * size]
                       : std::max(mostNeedRoom_[set * size + e - 1], room[set * size + e]);
        }
    }
}

// Whether some of the first `end` choices may still need no more slots than the prefix's and
// its own by the bound above, summed over the skills some choice falls short in: false answers
// for all of them at one look-up, before the rows are added up.
inline bool FrontierTable::SummedNeedMayFit(const int* pointsShort, int slots, int end) const {
    if (mostNeedRoom_.empty()) {
        return true;
    }
    // Without branches: whether a skill falls short follows no pattern a branch could guess.
    std::uint32_t set = 0;
    std::int64_t need = 0;
    for (int k = 0; k < count_; ++k) {
        const bool falls = pointsShort[k] > leastNeedPoints_[k];
        set |= static_cast<std::uint32_t>(falls) << k;
        need += falls ? std::int64_t{pointSlots_[k]} * pointsShort[k] : 0;
    }
    return need - mostNeedRoom_[set * static_cast<std::size_t>(size_) + end - 1] <=
           std::int64_t{kSlotScale} * slots;
}

// Whether some of the first `lanes` choices of a block need no more than `slots`, as all do
// where `slots` reaches kLacks. Every lane is weighed and the answers or-ed together, without
// branches, so that it stays a few vector instructions.
inline bool FrontierTable::AnyLaneWithin(const std::int16_t* excess, int lanes, int slots) {
    if (slots >= kLacks) {
        return true;
    }
    const auto limit = static_cast<std::int16_t>(std::max(slots, -int{kLacks}));
    const auto live = static_cast<std::int16_t>(std::min(lanes, kBlock));
    std::int16_t any = 0;
    for (std::int16_t i = 0; i < kBlock; ++i) {
        any = static_cast<std::int16_t>(any | ((excess[i] <= limit) & (i < live)));
    }
    return any != 0;
}

bool FrontierTable::AnyMayMeet(const int* pointsShort, const int* withShort, int slots,
                               std::int64_t leastDefense) const {
    if (size_ == 0) {
        return false;
    }
    // The rows' cap holds only while no prefix and choice hold more slots than it.
    if (slots + mostChoiceSlots_ > slotCap_) {
        return true;
    }
    const int end = Eligible(leastDefense);
    if (end == 1 && size_ == 1 && slotChecked_ == 0 && !anyShared_) {
        return OnlyChoiceMayMeet(pointsShort, withShort, slots);
    }
    Query query;
    // The slot check first: it needs no rows to rule out the most.
    if (end == 0 || !PrepareSlotCheck(pointsShort, slots, end, query) ||
        !SummedNeedMayFit(pointsShort, slots, end) || !Prepare(pointsShort, withShort, query)) {
        return false;
    }
    std::int16_t excess[kBlock];
    for (int base = 0; base < end; base += kBlock) {
        BlockExcess(base, query, excess);
        if (AnyLaneWithin(excess, end - base, slots)) {
            return true;
        }
    }
    return false;
}

// A table of one choice, as that of a level's doubling piece mostly is: its lane of the rows
// read and added up as BlockExcess would, without the bounds that rule out many choices at once
// before the rows are read, as they only ever rule out choices the lanes rule out too.
bool FrontierTable::OnlyChoiceMayMeet(const int* pointsShort, const int* withShort,
                                      int slots) const {
    int excess = ownSlots_[0];
    for (int k = 0; k < count_; ++k) {
        const Rows& needRows = need_[k];
        if (withShort[k] > lack_[k].last) {
            return false;
        }
        if (pointsShort[k] > needRows.first) {
            const int x = std::min(pointsShort[k], needRows.last) - needRows.first;
            excess += needRows.bytes[static_cast<std::size_t>(x) * stride_];
        }
    }
    return slots >= kLacks || excess <= std::max(slots, -int{kLacks});
}

void FrontierTable::MayMeetEach(const int* pointsShort, const int* withShort, int slots,
                                std::int64_t leastDefense,
                                std::vector<std::uint8_t>& mayMeet) const {
    mayMeet.assign(stride_, 1);
    Query query;
    if (size_ == 0 || slots + mostChoiceSlots_ > slotCap_) {
        return;
    }
    const int end = Eligible(leastDefense);
    if (!PrepareSlotCheck(pointsShort, slots, end, query) ||
        (end > 0 && !SummedNeedMayFit(pointsShort, slots, end)) ||
        !Prepare(pointsShort, withShort, query)) {
        std::fill_n(mayMeet.begin(), end, 0);
        return;
    }
    std::int16_t excess[kBlock];
    for (int base = 0; base < end; base += kBlock) {
        BlockExcess(base, query, excess);
        for (int i = 0; i < kBlock; ++i) {
            mayMeet[base + i] = excess[i] <= slots ? 1 : 0;
        }
    }
}

// How many slots each choice of a block needs beyond its own, kLacks or more where it cannot
// meet some goal at all. Written lane by lane over fixed blocks so that the compiler turns each
// loop into a few vector instructions.
void FrontierTable::BlockExcess(int base, const Query& query, std::int16_t* excess) const {
    if (anyShared_) {
        for (int i = 0; i < kBlock; ++i) {
            excess[i] = SharedExcess(base + i, query);
        }
        FailSlotCheck(base, query, excess);
        return;
    }
    // Summed in a local array: the rows' bytes may alias anything, which would keep the sums
    // out of vector registers.
    std::int16_t sum[kBlock];
    std::copy_n(ownSlots_.data() + base, kBlock, sum);
    for (int j = 0; j < query.rowCount; ++j) {
        const std::uint8_t* row = query.rows[j] + base;
        for (int i = 0; i < kBlock; ++i) {
            sum[i] = static_cast<std::int16_t>(sum[i] + row[i]);
        }
    }
    std::copy_n(sum, kBlock, excess);
    FailSlotCheck(base, query, excess);
}

// The points still missing, less twice the choice's slots, pass where at most twice the prefix's
// slots: half of them, rounded up, counts as slots to weigh with the rest. The one that rounds
// up is in each choice's room already, so that the sums stay in 16 bits.
void FrontierTable::FailSlotCheck(int base, const Query& query, std::int16_t* excess) const {
    static_assert(kSlotCheckPointsPerSlot == 2, "the lanes halve the missing points");
    if (query.checkedCount == 0) {
        return;
    }
    std::int16_t sum[kBlock];
    std::copy_n(ownPointRoom_.data() + base, kBlock, sum);
    for (int j = 0; j < query.checkedCount; ++j) {
        const std::int16_t* points = query.checkedPoints[j] + base;
        const auto shortfall = static_cast<std::int16_t>(query.checkedShort[j]);
        for (int i = 0; i < kBlock; ++i) {
            const auto missing = static_cast<std::int16_t>(shortfall - points[i]);
            sum[i] = static_cast<std::int16_t>(sum[i] + std::max<std::int16_t>(missing, 0));
        }
    }
    for (int i = 0; i < kBlock; ++i) {
        excess[i] = std::max(excess[i], static_cast<std::int16_t>(sum[i] >> 1));
    }
}

// Where one decoration helps two skills that both still need points, their slots may overlap:
// only the neediest skill's count is sure, as the exact fitting's bound takes it.
std::int16_t FrontierTable::SharedExcess(int i, const Query& query) const {
    for (int j = query.needCount; j < query.rowCount; ++j) {
        if (query.rows[j][i] != 0) {
            return kLacks;
        }
    }
    int total = 0;
    int most = 0;
    std::uint32_t needing = 0;
    std::uint32_t sharing = 0;
    for (int j = 0; j < query.needCount; ++j) {
        const int value = query.rows[j][i];
        if (value > 0) {
            total += value;
            most = std::max(most, value);
            needing |= std::uint32_t{1} << query.skillOf[j];
            sharing |= sharedWith_[query.skillOf[j]];
        }
    }
    return static_cast<std::int16_t>(((needing & sharing) != 0 ? most : total) + ownSlots_[i]);
}
