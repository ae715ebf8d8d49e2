#include "engine/exact/exact_fitting.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "engine/exact/undominated.h"

namespace {

// What the cost memo knows of a sub-problem: its least cost, proven, or a budget its least cost
// is known to exceed (a search within a smaller budget may still be asked for more). Packed into
// the memo's 16-bit value as 2 × cost + (proven ? 0 : 1) + 1, as the memo keeps 0 for "unknown".
struct CostMemoEntry {
    int cost = 0;
    bool proven = false;

    static CostMemoEntry Unpack(int stored) { return {(stored - 1) / 2, (stored - 1) % 2 == 0}; }
    std::uint16_t Pack() const { return static_cast<std::uint16_t>(2 * cost + (proven ? 1 : 2)); }
};

constexpr std::uint16_t kNoDeco = std::numeric_limits<std::uint16_t>::max();
// Past this many fillings of a holder, weeding out dominated ones would cost more than it saves.
constexpr std::size_t kMaxWeededFillings = 4000;
constexpr std::uint8_t kUnreachable = std::numeric_limits<std::uint8_t>::max();

bool AtLeast(const int* a, const int* b, int count) {
    for (int k = 0; k < count; ++k) {
        if (a[k] < b[k]) {
            return false;
        }
    }
    return true;
}

bool Equal(const int* a, const int* b, int count) {
    return std::equal(a, a + count, b);
}

std::uint64_t Pack16(int value) {
    const int clamped = std::clamp(value, -32768, 32767);
    return static_cast<std::uint64_t>(static_cast<std::uint16_t>(clamped));
}

} // namespace

ExactFitter::ExactFitter(const TrackedSkill* skills, int count,
                         const std::vector<CDecoData*>& usable)
    : count_(std::clamp(count, 0, kMaxTrackedSkills)),
      fieldBits_(count_ <= 6 ? 16 : kRequirementBits / count_), reachAt_(kHolderKinds, nullptr) {
    std::copy_n(skills, count_, skills_);
    KeepUsefulDecorations(usable);
    BuildFillings();
    BuildSlotTables();
    BuildSharedTable();
    BuildSkillParts();
}

// Keeps decorations of a placeable size that help some tracked skill, minus those another kept
// decoration beats or equals everywhere at no greater size (of two equal ones, the first stays).
void ExactFitter::KeepUsefulDecorations(const std::vector<CDecoData*>& usable) {
    std::vector<CDecoData*> helpful;
    std::vector<std::array<int, kMaxTrackedSkills>> gains;
    for (CDecoData* deco : usable) {
        if (deco->size < 1 || deco->size > 3) {
            continue;
        }
        std::array<int, kMaxTrackedSkills> gain{};
        bool helps = false;
        for (int k = 0; k < count_; ++k) {
            gain[k] = skills_[k].Gain(deco->PointsFor(skills_[k].systemId));
            helps = helps || gain[k] > 0;
        }
        if (helps) {
            helpful.push_back(deco);
            gains.push_back(gain);
        }
    }
    for (std::size_t i = 0; i < helpful.size(); ++i) {
        bool dominated = false;
        for (std::size_t j = 0; j < helpful.size() && !dominated; ++j) {
            if (i == j || helpful[j]->size > helpful[i]->size ||
                !AtLeast(gains[j].data(), gains[i].data(), count_)) {
                continue;
            }
            const bool same = helpful[j]->size == helpful[i]->size &&
                              Equal(gains[j].data(), gains[i].data(), count_);
            dominated = !same || j < i;
        }
        if (!dominated && decos_.size() < kNoDeco) {
            decos_.push_back(helpful[i]);
            decoGain_.push_back(gains[i]);
        }
    }
}

namespace {

// Fillings compare as their decoration lists, an empty entry after any decoration.
bool EarlierList(const std::uint16_t* a, const std::uint16_t* b) {
    return std::lexicographical_compare(a, a + 3, b, b + 3);
}

// `all` is in list order, so of two equal fillings the earlier one stays.
template <typename Filling, typename Beats>
std::vector<Filling> WeededFillings(const std::vector<Filling>& all, Beats beats) {
    return all.size() > kMaxWeededFillings ? all : WithoutDominated(all, beats);
}

} // namespace

void ExactFitter::BuildFillings() {
    std::vector<Filling> all;
    auto add = [&](std::initializer_list<std::size_t> items) {
        Filling filling;
        std::fill(filling.decos, filling.decos + 3, kNoDeco);
        for (const std::size_t index : items) {
            filling.decos[filling.count++] = static_cast<std::uint16_t>(index);
            filling.size += decos_[index]->size;
            for (int k = 0; k < count_; ++k) {
                filling.gain[k] += decoGain_[index][k];
            }
        }
        for (int k = 0; k < count_; ++k) {
            filling.helps |= filling.gain[k] > 0 ? std::uint32_t{1} << k : 0;
            filling.touches |= filling.gain[k] != 0 ? std::uint32_t{1} << k : 0;
        }
        if (filling.size <= 3) {
            all.push_back(filling);
        }
    };
    const std::size_t n = decos_.size();
    add({});
    for (std::size_t i = 0; i < n; ++i) {
        add({i});
        for (std::size_t j = i; j < n; ++j) {
            if (decos_[i]->size + decos_[j]->size > 3) {
                continue;
            }
            add({i, j});
            for (std::size_t l = j; l < n; ++l) {
                if (decos_[i]->size + decos_[j]->size + decos_[l]->size <= 3) {
                    add({i, j, l});
                }
            }
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Filling& a, const Filling& b) { return EarlierList(a.decos, b.decos); });
    const int count = count_;
    for (int capacity = 1; capacity <= 3; ++capacity) {
        std::vector<Filling> fitting;
        for (const Filling& filling : all) {
            if (filling.size <= capacity) {
                fitting.push_back(filling);
            }
        }
        fillings_[capacity] =
            WeededFillings(fitting, [count](const Filling& a, const Filling& b, bool earlier) {
                if (!AtLeast(a.gain, b.gain, count)) {
                    return false;
                }
                return !Equal(a.gain, b.gain, count) || earlier;
            });
        arrangeFillings_[capacity] =
            WeededFillings(fitting, [count](const Filling& a, const Filling& b, bool earlier) {
                if (a.size > b.size || a.count > b.count || !AtLeast(a.gain, b.gain, count)) {
                    return false;
                }
                const bool same =
                    a.size == b.size && a.count == b.count && Equal(a.gain, b.gain, count);
                return !same || earlier;
            });
        for (const Filling& filling : arrangeFillings_[capacity]) {
            cheapestFirst_[capacity].push_back(&filling);
        }
        std::stable_sort(cheapestFirst_[capacity].begin(), cheapestFirst_[capacity].end(),
                         [](const Filling* a, const Filling* b) {
                             return CostOfFilling(*a) < CostOfFilling(*b);
                         });
        // Larger fillings first: the answer "can be met" tends to come sooner.
        std::stable_sort(fillings_[capacity].begin(), fillings_[capacity].end(),
                         [](const Filling& a, const Filling& b) { return a.size > b.size; });
        for (const Filling& filling : fillings_[capacity]) {
            decideHurts_[capacity] |= filling.touches & ~filling.helps;
        }
        for (const Filling& filling : arrangeFillings_[capacity]) {
            arrangeHurts_[capacity] |= filling.touches & ~filling.helps;
        }
    }
}

namespace {

template <class Filling> std::uint32_t HelpsOf(const Filling& filling) {
    return filling.helps;
}
template <class Filling> std::uint32_t HelpsOf(const Filling* filling) {
    return filling->helps;
}

// The places in `fillings` of those that add to every skill of `mask`, `helping` taking the
// fillings the first time it is asked.
template <class Fillings>
const std::vector<std::uint32_t>& HelpingIn(HelpingFillings& helping, const Fillings& fillings,
                                            int skillCount, std::uint32_t mask) {
    if (!helping.Ready()) {
        std::vector<std::uint32_t> helps;
        helps.reserve(fillings.size());
        for (const auto& filling : fillings) {
            helps.push_back(HelpsOf(filling));
        }
        helping.Reset(std::move(helps), skillCount);
    }
    return helping.Of(mask);
}

} // namespace

const std::vector<std::uint32_t>& ExactFitter::DecidingHelping(int capacity, std::uint32_t mask) {
    return HelpingIn(decideHelping_[capacity], fillings_[capacity], count_, mask);
}

const std::vector<std::uint32_t>& ExactFitter::CheapestHelping(int capacity, std::uint32_t mask) {
    return HelpingIn(costHelping_[capacity], cheapestFirst_[capacity], count_, mask);
}

void ExactFitter::BuildSlotTables() {
    for (int capacity = 1; capacity <= 3; ++capacity) {
        for (int k = 0; k < count_; ++k) {
            int best = 0;
            int worst = 0;
            for (const Filling& filling : fillings_[capacity]) {
                best = std::max(best, filling.gain[k]);
            }
            // The cheaper fillings the arrangement may pick can lose more than the others.
            for (const Filling& filling : arrangeFillings_[capacity]) {
                worst = std::min(worst, filling.gain[k]);
            }
            for (const Filling& filling : fillings_[capacity]) {
                worst = std::min(worst, filling.gain[k]);
            }
            bestGain_[capacity][k] = best;
            worstGain_[capacity][k] = worst;
        }
    }
    gainNeeds_.resize(static_cast<std::size_t>(count_ * kMinSlotsRange));
    std::vector<std::uint8_t> table;
    std::vector<int> costs;
    for (int k = 0; k < count_; ++k) {
        table.assign(kMinSlotsRange, kUnreachable);
        costs.assign(kMinSlotsRange, kNoCost);
        table[0] = 0;
        costs[0] = 0;
        for (int r = 1; r < kMinSlotsRange; ++r) {
            int best = kUnreachable;
            int cheapest = kNoCost;
            for (std::size_t d = 0; d < decos_.size(); ++d) {
                const int gain = decoGain_[d][k];
                if (gain > 0) {
                    const int rest = std::max(0, r - gain);
                    best = std::min(best, table[rest] + decos_[d]->size);
                    cheapest = std::min(cheapest, costs[rest] + CostOf(decos_[d]->size, 1));
                }
            }
            table[r] = static_cast<std::uint8_t>(std::min<int>(best, kUnreachable));
            costs[r] = std::min(cheapest, static_cast<int>(kNoCost));
        }
        for (int r = 0; r < kMinSlotsRange; ++r) {
            gainNeeds_[static_cast<std::size_t>(k * kMinSlotsRange + r)] = {
                table[static_cast<std::size_t>(r)],
                static_cast<std::uint16_t>(costs[static_cast<std::size_t>(r)])};
        }
        for (int m = 0; m < count_; ++m) {
            for (std::size_t d = 0; d < decos_.size(); ++d) {
                if (m != k && decoGain_[d][k] > 0 && decoGain_[d][m] > 0) {
                    sharedWith_[k] |= std::uint32_t{1} << m;
                }
            }
        }
    }
}

void ExactFitter::BuildSharedTable() {
    const std::uint32_t masks = std::uint32_t{1} << count_;
    sharedAmong_.assign(masks, 0);
    for (std::uint32_t needing = 0; needing < masks; ++needing) {
        std::uint32_t sharing = 0;
        for (int k = 0; k < count_; ++k) {
            sharing |= ((needing >> k) & 1U) != 0 ? sharedWith_[k] : 0;
        }
        sharedAmong_[needing] = (needing & sharing) != 0 ? 1 : 0;
    }
}

void ExactFitter::BuildSkillParts() {
    for (int k = 0; k < count_; ++k) {
        std::vector<std::size_t> serving;
        for (std::size_t d = 0; d < decos_.size(); ++d) {
            if (decoGain_[d][k] > 0) {
                serving.push_back(d);
            }
        }
        std::vector<SkillPart> all;
        auto add = [&](std::initializer_list<std::size_t> items) {
            SkillPart part;
            for (const std::size_t d : items) {
                part.size += decos_[d]->size;
                part.gain += decoGain_[d][k];
            }
            part.cost = CostOf(part.size, static_cast<int>(items.size()));
            if (part.size <= 3) {
                all.push_back(part);
            }
        };
        for (std::size_t i = 0; i < serving.size(); ++i) {
            add({serving[i]});
            for (std::size_t j = i; j < serving.size(); ++j) {
                add({serving[i], serving[j]});
                for (std::size_t l = j; l < serving.size(); ++l) {
                    add({serving[i], serving[j], serving[l]});
                }
            }
        }
        skillParts_[k] =
            WithoutDominated(all, [](const SkillPart& a, const SkillPart& b, bool earlier) {
                if (a.size > b.size || a.cost > b.cost || a.gain < b.gain) {
                    return false;
                }
                return a.size != b.size || a.cost != b.cost || a.gain != b.gain || earlier;
            });
        std::stable_sort(skillParts_[k].begin(), skillParts_[k].end(),
                         [](const SkillPart& a, const SkillPart& b) { return a.size < b.size; });
    }
}

int ExactFitter::MinSlots(int k, int required) const {
    if (required <= 0) {
        return 0;
    }
    // The table grows with the gain, so a gain beyond it needs at least its last entry.
    return GainNeedOf(k, required).slots;
}

// Slots needed by different skills add up unless one decoration can serve two of them; then
// only the neediest skill is counted. So do costs, as then each decoration serves one of the
// skills at most: the others only lose by it. Slots are kUnreachable when some skill cannot be
// served at all.
ExactFitter::Need ExactFitter::NeedOf(const int* required) const {
    Need need;
    int most = 0;
    std::uint32_t needing = 0;
    for (int k = 0; k < count_; ++k) {
        if (required[k] <= 0) {
            continue;
        }
        const GainNeed& gain = GainNeedOf(k, required[k]);
        const int slots = gain.slots;
        if (slots == kUnreachable) {
            need.slots = kUnreachable;
            need.cost = kNoCost;
            return need;
        }
        need.slots += slots;
        need.cost += gain.cost;
        most = std::max(most, slots);
        needing |= std::uint32_t{1} << k;
    }
    need.shared = sharedAmong_[needing] != 0;
    if (need.shared) {
        need.slots = most;
    }
    return need;
}

ExactFitter::StepNeed ExactFitter::StepNeedOf(const int* required, const int* restMost) const {
    StepNeed base;
    for (int k = 0; k < count_; ++k) {
        const std::uint32_t bit = std::uint32_t{1} << k;
        base.mustGain |= required[k] > restMost[k] ? bit : 0;
        if (required[k] <= 0) {
            continue;
        }
        const GainNeed& gain = GainNeedOf(k, required[k]);
        base.slots[k] = gain.slots;
        base.cost[k] = gain.cost;
        base.needing |= bit;
        base.unreachable |= gain.slots == kUnreachable ? bit : 0;
        base.slotSum += gain.slots;
        base.slotMost = std::max(base.slotMost, int{gain.slots});
        base.costSum += gain.cost;
    }
    base.shared = sharedAmong_[base.needing] != 0;
    return base;
}

// Taking a filling's decorations `times` times over cuts each skill's fewest slots by at most
// the slots of those that serve it, as those decorations themselves could give what they gave.
// Summed over skills that no decoration serves two of, the cut is at most the filling's slots;
// a filling that takes points from a skill met so far can make it one that shares decorations
// with another, and where they share only the neediest skill counts.
int ExactFitter::SlotFloorAfter(const StepNeed& base, const Filling& filling, int times) {
    return SlotsBefore(base, filling.touches & ~filling.helps) - times * filling.size;
}

int ExactFitter::SlotsBefore(const StepNeed& base, std::uint32_t hurts) {
    const bool newlyNeeding = (hurts & ~base.needing) != 0;
    return base.shared || newlyNeeding ? base.slotMost : base.slotSum;
}

// Where no filling can make a skill needing anew, every floor starts from the sum.
int ExactFitter::LeastFillingSize(const StepNeed& base, std::uint32_t hurts, int times,
                                  int restSlots) {
    const int excess = SlotsBefore(base, hurts) - restSlots;
    return excess <= 0 ? 0 : (excess + times - 1) / times;
}

const std::uint32_t* ExactFitter::FirstOfSize(const std::vector<std::uint32_t>& places,
                                              const std::vector<const Filling*>& fillings,
                                              int size) {
    return std::partition_point(places.data(), places.data() + places.size(),
                                [&](std::uint32_t place) { return fillings[place]->size < size; });
}

// Most fillings fail the floor: kept in line in the loops over fillings, where only those that
// pass it pay for a call.
inline bool ExactFitter::RestMayHold(const StepNeed& base, const int* required,
                                     const Filling& filling, int times, const int* restMost,
                                     int restSlots, Need& need) const {
    return SlotFloorAfter(base, filling, times) <= restSlots &&
           NeedAfter(base, required, filling, times, restMost, need) && need.slots <= restSlots;
}

bool ExactFitter::NeedAfter(const StepNeed& base, const int* required, const Filling& filling,
                            int times, const int* restMost, Need& need) const {
    const std::uint32_t touched = filling.touches;
    if ((base.mustGain & ~touched) != 0) {
        return false;
    }
    std::uint32_t needing = base.needing & ~touched;
    std::uint32_t unreachable = base.unreachable & ~touched;
    int slotSum = base.slotSum;
    int costSum = base.costSum;
    for (std::uint32_t bits = touched; bits != 0; bits &= bits - 1) {
        const int k = std::countr_zero(bits);
        const int left = required[k] - times * filling.gain[k];
        if (left > restMost[k]) {
            return false;
        }
        slotSum -= base.slots[k];
        costSum -= base.cost[k];
        if (left > 0) {
            const GainNeed& gain = GainNeedOf(k, left);
            const std::uint32_t bit = std::uint32_t{1} << k;
            needing |= bit;
            unreachable |= gain.slots == kUnreachable ? bit : 0;
            slotSum += gain.slots;
            costSum += gain.cost;
        }
    }
    need = Need{};
    if (unreachable != 0) {
        need.slots = kUnreachable;
        need.cost = kNoCost;
        return true;
    }
    need.cost = costSum;
    need.shared = sharedAmong_[needing] != 0;
    need.slots = need.shared ? MostSlotsAfter(base, required, filling, times, needing) : slotSum;
    return true;
}

// Where one decoration serves two of the skills, only the neediest one counts.
int ExactFitter::MostSlotsAfter(const StepNeed& base, const int* required, const Filling& filling,
                                int times, std::uint32_t needing) const {
    int most = 0;
    for (std::uint32_t bits = needing; bits != 0; bits &= bits - 1) {
        const int k = std::countr_zero(bits);
        const bool changed = ((filling.touches >> k) & 1U) != 0;
        most = std::max(most, changed ? MinSlots(k, required[k] - times * filling.gain[k])
                                      : int{base.slots[k]});
    }
    return most;
}

void ExactFitter::Apply(const int* required, const Filling& filling, int times, int* after) const {
    for (int k = 0; k < count_; ++k) {
        after[k] = required[k] - times * filling.gain[k];
    }
}

// NeedOf's slots without its costs or branches: the bounds ask it for many sets of groups whose
// needs follow no pattern a branch could guess. A skill already met reads the table at 0, which
// holds no slots, and any other at least one, so the slots tell which skills need; a skill that
// no decoration serves is the neediest of all.
int ExactFitter::SlotsNeeded(const int* required) const {
    int sum = 0;
    int most = 0;
    std::uint32_t needing = 0;
    const GainNeed* row = gainNeeds_.data();
    for (int k = 0; k < count_; ++k, row += kMinSlotsRange) {
        const int slots = row[std::clamp(required[k], 0, kMinSlotsRange - 1)].slots;
        sum += slots;
        most = std::max(most, slots);
        needing |= static_cast<std::uint32_t>(slots != 0) << k;
    }
    if (most == kUnreachable) {
        return kUnreachable;
    }
    return sharedAmong_[needing] != 0 ? most : sum;
}

bool ExactFitter::SlotsMayReach(const int* required, int slots) const {
    return SlotsNeeded(required) <= slots;
}

bool ExactFitter::GoalsMayBeMet(const int* goals, const int* points, const int* with,
                                int slots) const {
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        if (with[k] < goals[k]) {
            return false;
        }
        required[k] = goals[k] - points[k];
    }
    return SlotsMayReach(required, slots);
}

// Rules out what the holders surely cannot reach, and raises each requirement that every choice
// meets to the least gain a choice can give, so that equal sub-problems meet in the memo.
bool ExactFitter::Bounded(const Holders& holders, int* required, Need& need,
                          const Need* known) const {
    const Reach& reach = ReachOf(holders);
    if (!Raised(reach, required)) {
        return false;
    }
    need = known != nullptr ? *known : NeedOf(required);
    return need.slots <= reach.slots;
}

bool ExactFitter::Raised(const Reach& reach, int* required) const {
    for (int k = 0; k < count_; ++k) {
        if (required[k] > reach.most[k]) {
            return false;
        }
        required[k] = std::max(required[k], reach.least[k]);
    }
    return true;
}

const ExactFitter::Reach& ExactFitter::NewReach(const Holders& holders) const {
    Reach& reach = reaches_.emplace_back();
    reach.slots = holders.weightedTimes * holders.weightedCapacity;
    for (int capacity = 1; capacity <= 3; ++capacity) {
        reach.slots += capacity * holders.single[capacity];
    }
    for (int k = 0; k < count_; ++k) {
        reach.most[k] = holders.weightedTimes * bestGain_[holders.weightedCapacity][k];
        reach.least[k] = holders.weightedTimes * worstGain_[holders.weightedCapacity][k];
        for (int capacity = 1; capacity <= 3; ++capacity) {
            reach.most[k] += holders.single[capacity] * bestGain_[capacity][k];
            reach.least[k] += holders.single[capacity] * worstGain_[capacity][k];
        }
    }
    reachAt_[KindOf(holders)] = &reach;
    return reach;
}

// Requirements take 96 bits of a key: the first four in `a`, the rest in the low half of `b`,
// each 16 bits wide when at most six skills are tracked and narrower for more. A requirement
// beyond its field makes the sub-problem one the memo cannot hold: it is solved afresh each time.
bool ExactFitter::KeyOf(const Holders& holders, const int* required, FitMemo::Key& key) const {
    key = FitMemo::Key{};
    if (fieldBits_ == 16) {
        key.a = Pack16(required[0]) | Pack16(required[1]) << 16 | Pack16(required[2]) << 32 |
                Pack16(required[3]) << 48;
        key.b = Pack16(required[4]) | Pack16(required[5]) << 16;
    } else if (!PackNarrow(required, key)) {
        return false;
    }
    key.b |= static_cast<std::uint64_t>(holders.single[1]) << 32 |
             static_cast<std::uint64_t>(holders.single[2]) << 36 |
             static_cast<std::uint64_t>(holders.single[3]) << 40 |
             static_cast<std::uint64_t>(holders.weightedCapacity) << 44 |
             static_cast<std::uint64_t>(holders.weightedTimes) << 48;
    return true;
}

bool ExactFitter::PackNarrow(const int* required, FitMemo::Key& key) const {
    const int limit = 1 << (fieldBits_ - 1);
    const std::uint64_t mask = (std::uint64_t{1} << fieldBits_) - 1;
    for (int k = 0; k < count_; ++k) {
        if (required[k] < -limit || required[k] >= limit) {
            return false;
        }
        const std::uint64_t bits = static_cast<std::uint64_t>(required[k]) & mask;
        const int offset = k * fieldBits_;
        if (offset < 64) {
            key.a |= bits << offset;
            if (offset + fieldBits_ > 64) {
                key.b |= bits >> (64 - offset);
            }
        } else {
            key.b |= bits << (offset - 64);
        }
    }
    return true;
}

// Takes the holder a sub-problem fills next: the weighted one first, then the largest.
void ExactFitter::TakeHolder(Holders& holders, int& capacity, int& times) {
    if (holders.weightedCapacity > 0) {
        capacity = holders.weightedCapacity;
        times = holders.weightedTimes;
        holders.weightedCapacity = 0;
        holders.weightedTimes = 0;
        return;
    }
    capacity = holders.single[3] > 0 ? 3 : holders.single[2] > 0 ? 2 : 1;
    times = 1;
    --holders.single[capacity];
}

ExactFitter::Opening ExactFitter::Open(const Holders& holders, const int* required, Step& step,
                                       const Need* known) const {
    std::copy_n(required, count_, step.required);
    if (!Bounded(holders, step.required, step.need, known)) {
        return Opening::kCannotMeet;
    }
    if (std::all_of(step.required, step.required + count_, [](int r) { return r <= 0; })) {
        return Opening::kMet;
    }
    step.rest = holders;
    TakeHolder(step.rest, step.capacity, step.times);
    step.restMost = ReachOf(step.rest).most;
    return Opening::kOpen;
}

bool ExactFitter::Solve(const Holders& holders, const int* requiredIn, const Need* knownNeed) {
    Step step;
    if (const Opening opening = Open(holders, requiredIn, step, knownNeed);
        opening != Opening::kOpen) {
        return opening == Opening::kMet;
    }
    FitMemo::Key key;
    const bool memoised = KeyOf(holders, step.required, key);
    if (const int known = memoised ? memo_.Find(key) : 0; known != 0) {
        return known == kCanMeet;
    }
    bool canMeet = false;
    int after[kMaxTrackedSkills] = {};
    const StepNeed base = StepNeedOf(step.required, step.restMost);
    const int restSlots = ReachOf(step.rest).slots;
    const std::vector<Filling>& fillings = fillings_[step.capacity];
    const int leastSize =
        LeastFillingSize(base, decideHurts_[step.capacity], step.times, restSlots);
    for (const std::uint32_t place : DecidingHelping(step.capacity, base.mustGain)) {
        const Filling& filling = fillings[place];
        if (filling.size < leastSize) {
            break;
        }
        // Raising the requirements left to what the rest adds anyway moves none above zero, so
        // the rest's search needs what they need now; where that is more than the rest holds, it
        // would fail at once.
        Need need;
        if (!RestMayHold(base, step.required, filling, step.times, step.restMost, restSlots,
                         need)) {
            continue;
        }
        Apply(step.required, filling, step.times, after);
        if (Solve(step.rest, after, &need)) {
            canMeet = true;
            break;
        }
    }
    if (memoised) {
        memo_.Store(key, canMeet ? kCanMeet : kCannotMeet);
    }
    return canMeet;
}

// A lower bound on the cost of meeting the requirements with the holders. A slot of the weighted
// holder does the work of `weightedTimes` others, so it is counted first.
int ExactFitter::LeastCostOf(const Holders& holders, const Need& need) const {
    const int needed = need.slots;
    if (needed == 0) {
        return 0;
    }
    const int times = std::max(holders.weightedTimes, 1);
    const int weighted = std::min(holders.weightedCapacity, (needed + times - 1) / times);
    const int slots = weighted + std::max(0, needed - weighted * times);
    const int bySlots = CostOf(slots, (slots + 2) / 3);
    // Where no decoration serves two of the skills, each needs its own cheapest decorations.
    if (need.shared) {
        return bySlots;
    }
    if (holders.weightedTimes <= 1) {
        return std::max(bySlots, need.cost);
    }
    // Counting the weighted holder's filling `times` over, the decorations cost at least the
    // skills' cheapest; so the arrangement costs at least that less the extra counts of the
    // dearest filling the holder takes, and at least the share of one count.
    const int dearest = CostOfFilling(*cheapestFirst_[holders.weightedCapacity].back());
    const int byCost = dearest * times >= need.cost ? (need.cost + times - 1) / times
                                                    : need.cost - (times - 1) * dearest;
    return std::max(bySlots, byCost);
}

// Where no decoration serves two of the skills needing, each decoration of the weighted holder's
// filling adds to at most one of them, so the filling splits into a part for each skill; the
// others' decorations add nothing to it. Each skill then costs at least its part and its cheapest
// decorations for what the part leaves, and the parts share the holder's slots. That bound is the
// least over the ways of sharing them.
int ExactFitter::WeightedLeastCost(const Holders& holders, const int* required) const {
    const int capacity = holders.weightedCapacity;
    const int times = holders.weightedTimes;
    // Of the skills so far, with their parts taking at most c slots. A part larger than the
    // holder is never taken, so the entries past its capacity equal the one at it.
    int least[4] = {};
    for (int k = 0; k < count_; ++k) {
        if (required[k] <= 0) {
            continue;
        }
        // The least cost of the skill with a part of exactly s slots.
        const GainNeed* needs = &GainNeedOf(k, 0);
        const int goal = std::min(required[k], kMinSlotsRange - 1);
        const int alone = needs[goal].cost;
        int part[4] = {alone, alone, alone, alone};
        for (const SkillPart& choice : skillParts_[k]) {
            if (choice.size > capacity) {
                break;
            }
            const int left = std::max(0, goal - times * choice.gain);
            part[choice.size] = std::min(part[choice.size], choice.cost + needs[left].cost);
        }
        least[3] = std::min(
            {least[3] + part[0], least[2] + part[1], least[1] + part[2], least[0] + part[3]});
        least[2] = std::min({least[2] + part[0], least[1] + part[1], least[0] + part[2]});
        least[1] = std::min(least[1] + part[0], least[0] + part[1]);
        least[0] += part[0];
    }
    return least[capacity];
}

ExactFitter::Holders ExactFitter::RemainingFrom(int position, const FreeRoom& room) const {
    Holders holders;
    for (int p = position; p < kPositionCount; ++p) {
        const int capacity = std::clamp(room.capacity[p], 0, 3);
        if (capacity == 0) {
            continue;
        }
        if (room.times[p] > 1 && holders.weightedCapacity == 0) {
            holders.weightedCapacity = capacity;
            holders.weightedTimes = std::min(room.times[p], 7);
        } else {
            ++holders.single[capacity];
        }
    }
    return holders;
}

bool ExactFitter::CanMeet(const FreeRoom& room, const int* base) {
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        required[k] = skills_[k].Required(base[k]);
    }
    return Solve(RemainingFrom(0, room), required);
}

bool ExactFitter::Arrange(const FreeRoom& room, const int* base, DecoBlock& added) {
    added = DecoBlock{};
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        required[k] = skills_[k].Required(base[k]);
    }
    const Holders holders = RemainingFrom(0, room);
    // Raised as every sub-problem is, requirements that lead to the same choices meet in the
    // memo.
    Need need;
    if (!Bounded(holders, required, need)) {
        return false;
    }
    FitMemo::Key key;
    Arrangement unmemoised;
    const Arrangement* arrangement = &unmemoised;
    if (KeyOf(holders, required, key)) {
        auto [entry, isNew] = arrangements_.try_emplace(key);
        if (isNew) {
            entry->second = FindArrangement(holders, required, need);
        }
        arrangement = &entry->second;
    } else {
        unmemoised = FindArrangement(holders, required, need);
    }
    if (!arrangement->found) {
        return false;
    }
    PlaceArrangement(*arrangement, room, added);
    return true;
}

// The cost of the arrangement is its slots and its decorations, at most 18, so the most
// decorations with `slots` slots bound it.
bool ExactFitter::TakesAtMost(const FreeRoom& room, const int* base, int slots) {
    if (slots < 0) {
        return false;
    }
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        required[k] = skills_[k].Required(base[k]);
    }
    const int budget = CostOf(slots, 63);
    const Holders holders = RemainingFrom(0, room);
    FitMemo::Key key;
    const bool memoised = KeyOf(holders, required, key);
    if (const int known = memoised ? askedMemo_.Find(key) : 0; known != 0) {
        const CostMemoEntry entry = CostMemoEntry::Unpack(known);
        if (entry.proven || entry.cost >= budget) {
            return entry.proven && entry.cost <= budget;
        }
    }
    const int cost = CostWithin(holders, required, budget);
    if (memoised) {
        askedMemo_.Store(key, PackedCost(cost, budget));
    }
    return cost <= budget;
}

// Hands the fillings to the positions: the weighted one to the body, the others to the positions
// of their room in order.
void ExactFitter::PlaceArrangement(const Arrangement& arrangement, const FreeRoom& room,
                                   DecoBlock& added) const {
    bool taken[kPositionCount] = {};
    for (int i = 0; i < arrangement.count; ++i) {
        for (int position = 0; position < kPositionCount; ++position) {
            const bool weighted = room.times[position] > 1;
            if (taken[position] ||
                std::clamp(room.capacity[position], 0, 3) != arrangement.capacity[i] ||
                weighted != arrangement.weighted[i]) {
                continue;
            }
            taken[position] = true;
            const Filling* filling = arrangement.fillings[i];
            for (int d = 0; d < filling->count; ++d) {
                added.decos[position][d] = decos_[filling->decos[d]];
            }
            break;
        }
    }
}

std::uint32_t ExactFitter::Settled(const Holders& rest, const int* required) const {
    std::uint32_t settled = 0;
    const Reach& reach = ReachOf(rest);
    for (int k = 0; k < count_; ++k) {
        settled |= required[k] <= reach.least[k] ? std::uint32_t{1} << k : 0;
    }
    return settled;
}

// Follows the least cost down the sub-problems, holder by holder in the order they are solved.
ExactFitter::Arrangement ExactFitter::FindArrangement(Holders holders, const int* start,
                                                      const Need& need) {
    Arrangement arrangement;
    int required[kMaxTrackedSkills] = {};
    std::copy_n(start, count_, required);
    int target = MinCost(holders, required, need);
    if (target == kNoCost) {
        return arrangement;
    }
    arrangement.found = true;
    while (target > 0 && arrangement.count < kPositionCount) {
        Holders rest = holders;
        int capacity = 0;
        int times = 1;
        TakeHolder(rest, capacity, times);
        const Filling* chosen = KnownChoice(holders, required);
        if (chosen == nullptr) {
            chosen = SearchChoice(rest, capacity, times, required, target);
        }
        if (chosen == nullptr) {
            break;
        }
        for (int k = 0; k < count_; ++k) {
            required[k] -= times * chosen->gain[k];
        }
        target -= CostOfFilling(*chosen);
        holders = rest;
        arrangement.fillings[arrangement.count] = chosen;
        arrangement.capacity[arrangement.count] = capacity;
        arrangement.weighted[arrangement.count] = times > 1;
        ++arrangement.count;
    }
    return arrangement;
}

int ExactFitter::CostAbove(int capacity, int limit) const {
    const std::vector<const Filling*>& fillings = cheapestFirst_[capacity];
    const auto above =
        std::upper_bound(fillings.begin(), fillings.end(), limit,
                         [](int cost, const Filling* f) { return cost < CostOfFilling(*f); });
    return above == fillings.end() ? kNoCost : CostOfFilling(**above);
}

// The least cost (slots, then decorations) of fillings that meet the requirements, or kNoCost.
// Searched within growing budgets, so that only cheap fillings are tried; a budget that fails
// tells the least cost the next may find, so budgets that would fail too are passed over. What a
// budget proves (the cost, or that it is higher) is remembered.
int ExactFitter::MinCost(const Holders& holders, const int* required, const Need& need) {
    int slots = 0;
    for (int capacity = 1; capacity <= 3; ++capacity) {
        slots += capacity * holders.single[capacity];
    }
    slots += holders.weightedCapacity;
    for (int budget = LeastCostOf(holders, need) / 64; budget <= slots;) {
        const int cost = CostWithin(holders, required, CostOf(budget, 63), &need);
        if (cost <= CostOf(budget, 63)) {
            return cost;
        }
        budget = cost / 64;
    }
    return kNoCost;
}

// The least cost if it is at most `budget`; else a bound above the budget that the least cost
// reaches at least (kNoCost when nothing meets the requirements), from the fillings' bounds and
// what the searches after them found.
int ExactFitter::CostWithin(const Holders& holders, const int* requiredIn, int budget,
                            const Need* known) {
    Step step;
    if (const Opening opening = Open(holders, requiredIn, step, known); opening != Opening::kOpen) {
        return opening == Opening::kMet ? 0 : kNoCost;
    }
    // Nothing costs less than the bound: past the budget, no search is needed to tell.
    int least = LeastCostOf(holders, step.need);
    if (least > budget) {
        return least;
    }
    FitMemo::Key key;
    const bool memoised = KeyOf(holders, step.required, key);
    if (const int known = memoised ? costMemo_.Find(key).cost : 0; known != 0) {
        const CostMemoEntry entry = CostMemoEntry::Unpack(known);
        if (entry.proven || entry.cost >= budget) {
            return entry.proven ? entry.cost : entry.cost + 1;
        }
        least = std::max(least, entry.cost + 1);
    }
    // Under a weighted holder the plain bound is loose, and the tight one costs more: it is worked
    // out only where the plain one leaves a search to make.
    if (step.times > 1 && !step.need.shared) {
        least = std::max(least, WeightedLeastCost(holders, step.required));
        if (least > budget) {
            if (memoised) {
                costMemo_.Store(key, {PackedCost(least, budget)});
            }
            return least;
        }
    }
    const Pass pass = step.need.shared ? Search(step, budget, least) : Deepen(step, budget, least);
    if (memoised) {
        const bool kept = pass.best <= budget && pass.chosen < kNoChoice;
        costMemo_.Store(key, {PackedCost(pass.best, budget),
                              static_cast<std::uint16_t>(kept ? pass.chosen + 1 : 0)});
    }
    return pass.best;
}

// The memo holds costs up to kNoCost - 1; above that, the memo's bound stays below it.
std::uint16_t ExactFitter::PackedCost(int cost, int budget) {
    return (cost <= budget ? CostMemoEntry{cost, true}
                           : CostMemoEntry{std::min(cost - 1, kNoCost - 2), false})
        .Pack();
}

// Where no decoration serves two of the skills needing, the bound is nearly always the least
// cost. The search then looks within the bound first, so that the first arrangement found is a
// least one and none after it is weighed, and where it finds none, within the bound that search
// proved, until past the budget.
ExactFitter::Pass ExactFitter::Deepen(const Step& step, int budget, int least) {
    for (int target = least;;) {
        const Pass pass = Search(step, target, target);
        if (pass.best <= target || pass.best > budget) {
            return pass;
        }
        target = pass.best;
    }
}

// The fillings for the step's holder within `limit`, cheapest first, each with the least cost of
// the rest after it; every one found lowers the limit, down to `least`, which nothing undercuts.
ExactFitter::Pass ExactFitter::Search(const Step& step, int limit, int least) {
    Pass pass;
    int floor = kNoCost; // of the fillings passed over, while none meets the limit
    int after[kMaxTrackedSkills] = {};
    const std::uint32_t settled = Settled(step.rest, step.required);
    const std::vector<const Filling*>& fillings = cheapestFirst_[step.capacity];
    const StepNeed base = StepNeedOf(step.required, step.restMost);
    const int restSlots = ReachOf(step.rest).slots;
    pass.chosen = fillings.size();
    const std::vector<std::uint32_t>& places = CheapestHelping(step.capacity, base.mustGain);
    const std::uint32_t* const end = places.data() + places.size();
    for (const std::uint32_t* place = FirstOfSize(
             places, fillings,
             LeastFillingSize(base, arrangeHurts_[step.capacity], step.times, restSlots));
         place != end; ++place) {
        const std::size_t at = *place;
        const Filling& filling = *fillings[at];
        const int cost = CostOfFilling(filling);
        if (cost > limit) {
            break;
        }
        if (Idle(filling, settled)) {
            continue;
        }
        // The rest's search needs what the requirements left need now, as in Solve, and fails
        // at once where that is more slots than the rest holds.
        Need need;
        if (!RestMayHold(base, step.required, filling, step.times, step.restMost, restSlots,
                         need)) {
            continue;
        }
        if (const int bound = cost + LeastCostOf(step.rest, need); bound > limit) {
            floor = std::min(floor, bound);
            continue;
        }
        Apply(step.required, filling, step.times, after);
        const int restCost = std::all_of(after, after + count_, [](int r) { return r <= 0; })
                                 ? 0
                                 : CostWithin(step.rest, after, limit - cost, &need);
        if (restCost > limit - cost) {
            floor = std::min(floor, std::min(cost + restCost, int{kNoCost}));
        } else {
            pass.best = cost + restCost;
            pass.chosen = at;
            limit = pass.best - 1;
            // Nothing costs less than the bound: the least cost is found.
            if (pass.best <= least) {
                break;
            }
        }
    }
    // Without a filling within the limit, it is still the one asked for: the fillings passed over
    // unweighed cost no less than the first above it.
    if (pass.best == kNoCost) {
        pass.best = std::min(floor, CostAbove(step.capacity, limit));
    }
    return pass;
}

// The key is that of the sub-problem as the cost search met it, raised as it was; its need is
// not worked out, as the cost search kept no choice for one it could not meet.
const ExactFitter::Filling* ExactFitter::KnownChoice(const Holders& holders,
                                                     const int* required) const {
    int raised[kMaxTrackedSkills] = {};
    std::copy_n(required, count_, raised);
    FitMemo::Key key;
    if (!Raised(ReachOf(holders), raised) || !KeyOf(holders, raised, key)) {
        return nullptr;
    }
    const int known = costMemo_.Find(key).choice;
    if (known == 0) {
        return nullptr;
    }
    Holders rest = holders;
    int capacity = 0;
    int times = 1;
    TakeHolder(rest, capacity, times);
    return cheapestFirst_[capacity][static_cast<std::size_t>(known - 1)];
}

const ExactFitter::Filling* ExactFitter::SearchChoice(const Holders& rest, int capacity, int times,
                                                      const int* required, int target) {
    const std::uint32_t settled = Settled(rest, required);
    const int* restMost = ReachOf(rest).most;
    const StepNeed base = StepNeedOf(required, restMost);
    const int restSlots = ReachOf(rest).slots;
    int after[kMaxTrackedSkills] = {};
    const std::vector<const Filling*>& fillings = cheapestFirst_[capacity];
    const std::vector<std::uint32_t>& places = CheapestHelping(capacity, base.mustGain);
    const std::uint32_t* const end = places.data() + places.size();
    for (const std::uint32_t* place = FirstOfSize(
             places, fillings, LeastFillingSize(base, arrangeHurts_[capacity], times, restSlots));
         place != end; ++place) {
        const Filling* filling = fillings[*place];
        const int cost = CostOfFilling(*filling);
        if (cost > target) {
            break;
        }
        // No filling does better than the target, so one that reaches it within the budget left
        // is the first of least cost. The rest's search needs what the bound found, as above.
        Need need;
        if (Idle(*filling, settled) ||
            !RestMayHold(base, required, *filling, times, restMost, restSlots, need) ||
            cost + LeastCostOf(rest, need) > target) {
            continue;
        }
        Apply(required, *filling, times, after);
        if (CostWithin(rest, after, target - cost, &need) <= target - cost) {
            return filling;
        }
    }
    return nullptr;
}
