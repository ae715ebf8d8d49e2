#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/exact/exact_fitting.h"

// The steps both searches over holders take for nearly every filling, the decision search in
// exact_fitting.cpp and the least-cost search in least_cost_search.cpp: kept in line in each.

namespace filling_steps {

template <class Filling> inline std::uint32_t HelpsOf(const Filling& filling) {
    return filling.helps;
}
template <class Filling> inline std::uint32_t HelpsOf(const Filling* filling) {
    return filling->helps;
}

// The places in `fillings` of those that add to every skill of `mask`, `helping` taking the
// fillings the first time it is asked.
template <class Fillings>
inline const std::vector<std::uint32_t>&
HelpingIn(HelpingFillings& helping, const Fillings& fillings, int skillCount, std::uint32_t mask) {
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

} // namespace filling_steps

inline const std::vector<std::uint32_t>& ExactFitter::CheapestHelping(int capacity,
                                                                      std::uint32_t mask) {
    return filling_steps::HelpingIn(costHelping_[capacity], cheapestFirst_[capacity], count_, mask);
}

// Taking a filling's decorations `times` times over cuts each skill's fewest slots by at most
// the slots of those that serve it, as those decorations themselves could give what they gave.
// Summed over skills that no decoration serves two of, the cut is at most the filling's slots;
// a filling that takes points from a skill met so far can make it one that shares decorations
// with another, and where they share only the neediest skill counts.
inline int ExactFitter::SlotFloorAfter(const StepNeed& base, const Filling& filling, int times) {
    return SlotsBefore(base, filling.touches & ~filling.helps) - times * filling.size;
}

inline int ExactFitter::SlotsBefore(const StepNeed& base, std::uint32_t hurts) {
    const bool newlyNeeding = (hurts & ~base.needing) != 0;
    return base.shared || newlyNeeding ? base.slotMost : base.slotSum;
}

// Where no filling can make a skill needing anew, every floor starts from the sum.
inline int ExactFitter::LeastFillingSize(const StepNeed& base, std::uint32_t hurts, int times,
                                         int restSlots) {
    const int excess = SlotsBefore(base, hurts) - restSlots;
    return excess <= 0 ? 0 : (excess + times - 1) / times;
}

inline const std::uint32_t* ExactFitter::FirstOfSize(const std::vector<std::uint32_t>& places,
                                                     const std::vector<const Filling*>& fillings,
                                                     int size) {
    return std::partition_point(places.data(), places.data() + places.size(),
                                [&](std::uint32_t place) { return fillings[place]->size < size; });
}

// Kept in line with the floor before it: both searches ask it for most fillings they weigh.
inline bool ExactFitter::NeedAfter(const StepNeed& base, const int* required,
                                   const Filling& filling, int times, const int* restMost,
                                   Need& need) const {
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

// Most fillings fail the floor: kept in line in the loops over fillings, NeedAfter with it. Left
// to itself the compiler calls the two together for every filling once NeedAfter is in line.
[[gnu::always_inline]] inline bool
ExactFitter::RestMayHold(const StepNeed& base, const int* required, const Filling& filling,
                         int times, const int* restMost, int restSlots, Need& need) const {
    return SlotFloorAfter(base, filling, times) <= restSlots &&
           NeedAfter(base, required, filling, times, restMost, need) && need.slots <= restSlots;
}

inline void ExactFitter::Apply(const int* required, const Filling& filling, int times,
                               int* after) const {
    for (int k = 0; k < count_; ++k) {
        after[k] = required[k] - times * filling.gain[k];
    }
}
