#include "engine/search/rank_hit_gate.h"

#include <algorithm>
#include <limits>

#include "engine/condition/group_key.h"

RankHitGate::RankHitGate(const CSearchCondition& condition, ExactJudge& judge, RankedSets& ranked)
    : judge_(judge), ranked_(ranked), gates_(condition.rankKey == RankKey::kFreeSlots),
      weaponSlots_(condition.weaponSlots) {}

bool RankHitGate::ShutsOut(const SearchHit& hit, std::int64_t defense) {
    const std::int64_t leastKey = ranked_.LeastKeyToEnter(defense);
    if (!gates_ || leastKey == std::numeric_limits<std::int64_t>::min()) {
        return false;
    }
    if (hit.variants.empty()
            ? MayEnter(hit, nullptr, leastKey)
            : std::any_of(hit.variants.begin(), hit.variants.end(), [&](const HitVariant& variant) {
                  return MayEnter(hit, &variant, leastKey);
              })) {
        return false;
    }
    // The pieces of a variant's profiles may all be too weak for the minimum defence.
    if (hit.variants.empty()) {
        ranked_.NoteCut();
    } else {
        ranked_.NoteMaybeCut();
    }
    return true;
}

bool RankHitGate::ShutsOutUnjudged(const CandidateGroup* const (&chosen)[kSlotCount],
                                   std::int64_t defense) {
    if (!gates_ || !ranked_.Cut()) {
        return false;
    }
    const std::int64_t leastKey = ranked_.LeastKeyToEnter(defense);
    if (leastKey == std::numeric_limits<std::int64_t>::min()) {
        return false;
    }
    if (FollowsShutOut(chosen, leastKey)) {
        return true;
    }
    if (judge_.LeavesFree(chosen, weaponSlots_, leastKey)) {
        return false;
    }
    std::copy_n(chosen, kSlotCount, shutOut_);
    shutOutLeastKey_ = leastKey;
    return true;
}

// Whether `chosen` differs from the combination last shut out only in a leaf of the same points
// and fewer slots, by which its free slots fall short of `leastKey` as well. A doubling leaf
// brings profiles of its own, so neither tells about the other.
bool RankHitGate::FollowsShutOut(const CandidateGroup* const (&chosen)[kSlotCount],
                                 std::int64_t leastKey) const {
    constexpr int kLeaf = kSlotCount - 1;
    const CandidateGroup* last = shutOut_[kLeaf];
    if (last == nullptr || !std::equal(chosen, chosen + kLeaf, shutOut_) ||
        chosen[kLeaf]->key == kDoublingKey || last->key == kDoublingKey ||
        !AreEquivalent(chosen[kLeaf]->key, last->key)) {
        return false;
    }
    const int fewer = KeySlots(last->key) - KeySlots(chosen[kLeaf]->key);
    return fewer >= 0 && shutOutLeastKey_ - fewer <= leastKey;
}

// Whether the sets of the hit that match `variant` have at least `leastKey` free slots.
bool RankHitGate::MayEnter(const SearchHit& hit, const HitVariant* variant, std::int64_t leastKey) {
    return judge_.LeavesFree(hit, variant, weaponSlots_, leastKey);
}
