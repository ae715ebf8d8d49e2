#include "engine/exact/exact_fitting.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "engine/exact/filling_steps.h"
#include "engine/exact/undominated.h"

namespace {

constexpr std::uint16_t kNoDeco = std::numeric_limits<std::uint16_t>::max();
// Past this many fillings of a holder, weeding out dominated ones would cost more than it saves.
constexpr std::size_t kMaxWeededFillings = 4000;

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

const std::vector<std::uint32_t>& ExactFitter::DecidingHelping(int capacity, std::uint32_t mask) {
    return filling_steps::HelpingIn(decideHelping_[capacity], fillings_[capacity], count_, mask);
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
    // Each gain is worked out from those of the decorations serving the skill, a few of all.
    struct Serving {
        int gain = 0;
        int size = 0;
    };
    std::vector<Serving> serving;
    for (int k = 0; k < count_; ++k) {
        table.assign(kMinSlotsRange, kUnreachable);
        costs.assign(kMinSlotsRange, kNoCost);
        table[0] = 0;
        costs[0] = 0;
        serving.clear();
        for (std::size_t d = 0; d < decos_.size(); ++d) {
            if (decoGain_[d][k] > 0) {
                serving.push_back({decoGain_[d][k], decos_[d]->size});
            }
        }
        for (int r = 1; r < kMinSlotsRange; ++r) {
            int best = kUnreachable;
            int cheapest = kNoCost;
            for (const Serving& deco : serving) {
                const int rest = std::max(0, r - deco.gain);
                best = std::min(best, table[rest] + deco.size);
                cheapest = std::min(cheapest, costs[rest] + CostOf(deco.size, 1));
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
    if (!PackRequirements(required, key)) {
        return false;
    }
    AddHolders(holders, key);
    return true;
}

bool ExactFitter::PackRequirements(const int* required, FitMemo::Key& key) const {
    key = FitMemo::Key{};
    if (fieldBits_ == 16) {
        key.a = Pack16(required[0]) | Pack16(required[1]) << 16 | Pack16(required[2]) << 32 |
                Pack16(required[3]) << 48;
        key.b = Pack16(required[4]) | Pack16(required[5]) << 16;
        return true;
    }
    return PackNarrow(required, key);
}

void ExactFitter::AddHolders(const Holders& holders, FitMemo::Key& key) {
    key.b |= static_cast<std::uint64_t>(holders.single[1]) << 32 |
             static_cast<std::uint64_t>(holders.single[2]) << 36 |
             static_cast<std::uint64_t>(holders.single[3]) << 40 |
             static_cast<std::uint64_t>(holders.weightedCapacity) << 44 |
             static_cast<std::uint64_t>(holders.weightedTimes) << 48;
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
    for (int k = 0; k < count_; ++k) {
        asked_[k] = skills_[k].Required(base[k]);
    }
    askedFits_ = PackRequirements(asked_, askedKey_);
    return CanMeetInRoom(room);
}

// The judge asks again for about half the rooms and points it met. A sub-problem's answer is the
// same whether its requirements are raised or not, so the memo keeps it as asked too: a repeat is
// answered before it is bounded.
bool ExactFitter::CanMeetInRoom(const FreeRoom& room) {
    const Holders holders = RemainingFrom(0, room);
    FitMemo::Key key = askedKey_;
    AddHolders(holders, key);
    if (const int known = askedFits_ ? memo_.Find(key) : 0; known != 0) {
        return known == kCanMeet;
    }
    const bool canMeet = Solve(holders, asked_);
    if (askedFits_) {
        memo_.Store(key, canMeet ? kCanMeet : kCannotMeet);
    }
    return canMeet;
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
    const Trail trail = trail_;
    while (target > 0 && arrangement.count < kPositionCount) {
        Holders rest = holders;
        int capacity = 0;
        int times = 1;
        TakeHolder(rest, capacity, times);
        const Filling* chosen = trail.valid && arrangement.count < trail.length
                                    ? trail.choices[arrangement.count]
                                    : KnownChoice(holders, capacity, required);
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

// The key is that of the sub-problem as the cost search met it, raised as it was; its need is
// not worked out, as the cost search kept no choice for one it could not meet.
const ExactFitter::Filling* ExactFitter::KnownChoice(const Holders& holders, int capacity,
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
