#include "engine/search/rank_hit_gate.h"

#include <algorithm>
#include <limits>

#include "engine/condition/group_key.h"

RankHitGate::RankHitGate(const CSearchCondition& condition, ExactJudge& judge, RankedSets& ranked)
    : judge_(judge), ranked_(ranked), gates_(condition.rankKey == RankKey::kFreeSlots),
      weaponSlots_(condition.weaponSlots) {}

bool RankHitGate::ShutsOut(const SearchHit& hit, std::int64_t defense) {
    if (!gates_) {
        return false;
    }
    const std::vector<int>& used = judge_.SlotsUsedOfLastHit();
    std::int64_t most = std::numeric_limits<std::int64_t>::min();
    if (hit.variants.empty()) {
        most = FreeSlots(hit, nullptr, used.front());
    }
    for (std::size_t i = 0; i < hit.variants.size(); ++i) {
        most = std::max(most, FreeSlots(hit, &hit.variants[i], used[i]));
    }
    if (ranked_.MayEnter(most, defense)) {
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

// The free slots of the sets of the hit that match `variant`, whose decorations take `used`
// slots: a doubling piece's slots are those
// of its profile, the others those of their group.
std::int64_t RankHitGate::FreeSlots(const SearchHit& hit, const HitVariant* variant,
                                    int used) const {
    std::int64_t slots = weaponSlots_ - used;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slots += hit.keys[slot] == kDoublingKey && variant != nullptr
                     ? judge_.Doubling().At(slot)[variant->profile[slot]].slots
                     : KeySlots(hit.keys[slot]);
    }
    return slots;
}
