#pragma once

#include "engine/condition/candidates.h"
#include "engine/condition/group_key.h"

// A group whose subtree found nothing makes the next equivalent group (the same points, fewer
// slots) be skipped. The rule-based search skips unless some combination fell below the minimum
// defence since; that can skip a group whose better defence would have passed. The exact search
// skips only a group no stronger than the one that failed, which cannot lose a set.
inline bool SkipsAfterFailure(const CandidateGroup& group, const CandidateGroup* lastFailed,
                              bool exact, bool lowDefenseSeen) {
    if (lastFailed == nullptr || !AreEquivalent(group.key, lastFailed->key)) {
        return false;
    }
    return exact ? group.bestDefense <= lastFailed->bestDefense : !lowDefenseSeen;
}

// The same for the last level. A leaf that fails there passed the defence test and failed on its
// points and slots alone, so the exact search skips every equivalent group after it.
inline bool LeafSkipsAfterFailure(GroupKey key, GroupKey lastFailed, bool exact,
                                  bool lowDefenseSeen) {
    return (exact || !lowDefenseSeen) && AreEquivalent(key, lastFailed);
}
