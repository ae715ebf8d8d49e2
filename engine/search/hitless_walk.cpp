#include "engine/search/hitless_walk.h"

#include <algorithm>

#include "engine/search/failure_skip.h"

namespace {
constexpr int kLeaf = kSlotCount - 1;
} // namespace

HitlessWalk::HitlessWalk(const GroupList (&groups)[kSlotCount], std::int64_t minDefense)
    : groups_(groups), minDefense_(minDefense) {
    for (int level = kLeaf; level >= 0; --level) {
        const auto [least, most] =
            std::minmax_element(groups[level].begin(), groups[level].end(),
                                [](const CandidateGroup& a, const CandidateGroup& b) {
                                    return a.bestDefense < b.bestDefense;
                                });
        strongest_[level] = strongest_[level + 1];
        weakest_[level] = weakest_[level + 1];
        if (least != groups[level].end()) {
            weakest_[level] += least->bestDefense;
            strongest_[level] += most->bestDefense;
        }
    }
}

bool HitlessWalk::LowDefenseAfter(int level, std::int64_t defenseAbove) {
    if (defenseAbove + weakest_[level] >= minDefense_) {
        return false;
    }
    if (defenseAbove + strongest_[level] < minDefense_) {
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
// is not skipped fails and may make the next equivalent one be skipped. The first group is never
// skipped, so the flag on entry plays no part.
bool HitlessWalk::Simulate(int level, std::int64_t defenseAbove) {
    bool low = false;
    const CandidateGroup* lastFailed = nullptr;
    for (const CandidateGroup& group : groups_[level]) {
        if (SkipsAfterFailure(group, lastFailed, false, low)) {
            continue;
        }
        low = LowDefenseAfter(level + 1, defenseAbove + group.bestDefense);
        lastFailed = &group;
    }
    return low;
}
