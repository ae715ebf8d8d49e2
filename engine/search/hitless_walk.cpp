#include "engine/search/hitless_walk.h"

#include <algorithm>

#include "engine/condition/group_key.h"

namespace {
constexpr int kLeaf = kSlotCount - 1;
} // namespace

HitlessWalk::HitlessWalk(const GroupList (&groups)[kSlotCount], std::int64_t minDefense)
    : groups_(groups), minDefense_(minDefense) {
    std::int64_t strongest = 0;
    std::int64_t weakest = 0;
    for (int level = kLeaf; level >= 0; --level) {
        const auto [least, most] =
            std::minmax_element(groups[level].begin(), groups[level].end(),
                                [](const CandidateGroup& a, const CandidateGroup& b) {
                                    return a.bestDefense < b.bestDefense;
                                });
        if (least != groups[level].end()) {
            weakest += least->bestDefense;
            strongest += most->bestDefense;
        }
        allLow_[level] = minDefense - strongest;
        noneLow_[level] = minDefense - weakest;
    }
}

bool HitlessWalk::LowDefenseAfter(int level, std::int64_t defenseAbove) {
    if (defenseAbove >= noneLow_[level]) {
        return false;
    }
    if (defenseAbove < allLow_[level]) {
        return true;
    }
    if (level == kLeaf) {
        // Each leaf either falls short and sets the flag, or is judged, fails and clears it, or
        // is skipped, which happens only while the flag is clear: the last leaf decides.
        return defenseAbove + groups_[kLeaf].back().bestDefense < minDefense_;
    }
    const auto known = memo_[level].find(defenseAbove);
    if (known != memo_[level].end()) {
        return known->second;
    }
    const bool low = Simulate(level, defenseAbove);
    memo_[level].emplace(defenseAbove, low);
    return low;
}

// The loop of one level as the enumeration runs it when nothing below is a hit: each group that
// is not skipped fails, so the next equivalent one is skipped while the flag is clear. The first
// group is never skipped, so the flag on entry plays no part.
bool HitlessWalk::Simulate(int level, std::int64_t defenseAbove) {
    bool low = false;
    const CandidateGroup* lastFailed = nullptr;
    for (const CandidateGroup& group : groups_[level]) {
        if (lastFailed != nullptr && !low && AreEquivalent(group.key, lastFailed->key)) {
            continue;
        }
        low = LowDefenseAfter(level + 1, defenseAbove + group.bestDefense);
        lastFailed = &group;
    }
    return low;
}
