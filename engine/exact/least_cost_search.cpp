// The least-cost search of the exact fitting: the fewest slots, then the fewest decorations, that
// meet the requirements with the holders, searched within growing budgets and remembered by
// sub-problem; and the bounds that spare it most of its steps.
#include <algorithm>

#include "engine/exact/exact_fitting.h"
#include "engine/exact/filling_steps.h"

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

} // namespace

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
    trail_ = Trail{};
    trail_.valid = true;
    depth_ = 0;
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
        EndTrail(depth_);
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
            EndTrail(depth_);
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
    trail_.valid = trail_.valid && !step.need.shared;
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
        const int restCost = RestCost(step.rest, after, limit - cost, need);
        if (restCost > limit - cost) {
            floor = std::min(floor, std::min(cost + restCost, int{kNoCost}));
        } else {
            pass.best = cost + restCost;
            pass.chosen = at;
            if (depth_ < kPositionCount) {
                trail_.choices[depth_] = &filling;
            }
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

// The least cost of the rest after a filling, within `budget`, one holder deeper.
int ExactFitter::RestCost(const Holders& rest, const int* after, int budget, const Need& need) {
    if (std::all_of(after, after + count_, [](int r) { return r <= 0; })) {
        EndTrail(depth_ + 1);
        return 0;
    }
    ++depth_;
    const int cost = CostWithin(rest, after, budget, &need);
    --depth_;
    return cost;
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
