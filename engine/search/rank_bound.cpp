#include "engine/search/rank_bound.h"

#include <algorithm>
#include <limits>

#include "engine/search/rank_value.h"

namespace {

// Groups are ordered by key, highest first.
std::size_t IndexOfKey(const GroupList& groups, std::uint32_t key) {
    const auto at = std::lower_bound(
        groups.begin(), groups.end(), key,
        [](const CandidateGroup& group, std::uint32_t wanted) { return group.key > wanted; });
    return static_cast<std::size_t>(at - groups.begin());
}

} // namespace

RankBound::RankBound(const CSearchCondition& condition,
                     const CandidateList (&candidates)[kSlotCount],
                     const GroupList (&groups)[kSlotCount], const std::vector<TrackedSkill>& skills,
                     const ExactFitter& fitter) {
    if (condition.rankKey == RankKey::kFreeSlots) {
        floor_.emplace(condition, skills, groups, fitter);
    }
    constexpr std::int64_t kUnset = std::numeric_limits<std::int64_t>::min();
    std::int64_t best[kSlotCount] = {};
    std::int64_t bestDefense[kSlotCount] = {};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        values_[slot].assign(groups[slot].size(), kUnset);
        for (const CEquipData* piece : candidates[slot]) {
            const std::size_t index = IndexOfKey(groups[slot], piece->groupKey);
            if (index < groups[slot].size() && groups[slot][index].key == piece->groupKey) {
                const std::int64_t value =
                    PieceRankValue(*piece, condition.rankKey, IsOwned(piece, condition));
                values_[slot][index] = std::max(values_[slot][index], value);
            }
        }
        best[slot] = values_[slot].empty()
                         ? 0
                         : *std::max_element(values_[slot].begin(), values_[slot].end());
        for (const CandidateGroup& group : groups[slot]) {
            bestDefense[slot] = &group == &groups[slot].front()
                                    ? group.bestDefense
                                    : std::max<std::int64_t>(bestDefense[slot], group.bestDefense);
        }
    }
    // Decorations only take free slots away; the weapon's own are the most it gives.
    std::int64_t below = condition.rankKey == RankKey::kFreeSlots ? condition.weaponSlots : 0;
    std::int64_t defenseBelow = 0;
    for (int level = kSlotCount - 1; level >= 0; --level) {
        bestBelow_[level] = below;
        bestDefenseBelow_[level] = defenseBelow;
        below += best[level];
        defenseBelow += bestDefense[level];
    }
}
