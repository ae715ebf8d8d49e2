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
    return leastKey != std::numeric_limits<std::int64_t>::min() &&
           !judge_.LeavesFree(chosen, weaponSlots_, leastKey);
}

// Whether the sets of the hit that match `variant` have at least `leastKey` free slots: a
// doubling piece's slots are those of its profile, the others those of their group.
bool RankHitGate::MayEnter(const SearchHit& hit, const HitVariant* variant, std::int64_t leastKey) {
    std::int64_t slots = weaponSlots_;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slots += hit.keys[slot] == kDoublingKey && variant != nullptr
                     ? judge_.Doubling().At(slot)[variant->profile[slot]].slots
                     : KeySlots(hit.keys[slot]);
    }
    const std::int64_t spare = slots - leastKey;
    if (spare < 0) {
        return false;
    }
    return judge_.TakesAtMost(hit, variant, static_cast<int>(std::min<std::int64_t>(spare, 255)));
}
