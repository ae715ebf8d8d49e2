#include "engine/search/rank_hit_gate.h"

#include <algorithm>
#include <limits>

#include "engine/condition/group_key.h"

RankHitGate::RankHitGate(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                         ExactJudge& judge, RankedSets& ranked)
    : judge_(judge), ranked_(ranked), gates_(condition.rankKey == RankKey::kFreeSlots),
      weaponSlots_(condition.weaponSlots),
      skillCount_(static_cast<int>(std::min<std::size_t>(skills.size(), kMaxTrackedSkills))) {
    for (int k = 0; k < skillCount_; ++k) {
        directions_[k] = skills[static_cast<std::size_t>(k)].direction;
    }
}

bool RankHitGate::MayEnter(const SearchHit& hit, std::int64_t defense) {
    if (!gates_) {
        return true;
    }
    const std::int64_t leastKey = ranked_.LeastKeyToEnter(defense);
    if (leastKey == std::numeric_limits<std::int64_t>::min()) {
        return true;
    }
    // The list has not changed since the combination was let through: the question is the same.
    if (hasLetThrough_ && leastKey <= letThroughLeastKey_ &&
        std::equal(hit.keys, hit.keys + kSlotCount, letThrough_)) {
        return true;
    }
    return judge_.LeavesFree(hit, nullptr, weaponSlots_, leastKey);
}

bool RankHitGate::ShutVariants(const SearchHit& hit, std::int64_t defense, std::uint64_t* open) {
    if (!gates_) {
        return false;
    }
    const std::int64_t leastKey = ranked_.LeastKeyToEnter(defense);
    if (leastKey == std::numeric_limits<std::int64_t>::min()) {
        return false;
    }
    fitted_.clear();
    DoublingSlots doubling;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (hit.keys[slot] == kDoublingKey) {
            doubling.slots[doubling.count++] = slot;
        }
    }
    bool shut = false;
    for (std::size_t index = 0; index < hit.variants.size(); ++index) {
        if (!VariantLeavesFree(hit, index, doubling, leastKey)) {
            open[index / 64] &= ~(std::uint64_t{1} << (index % 64));
            shut = true;
        }
    }
    return shut;
}

// Told by a variant fitted before where it can be: one that left enough and brings no more, or
// one that did not and brings no less.
bool RankHitGate::VariantLeavesFree(const SearchHit& hit, std::size_t index,
                                    const DoublingSlots& doubling, std::int64_t leastKey) {
    const HitVariant& variant = hit.variants[index];
    for (const Fitted& other : fitted_) {
        const HitVariant& known = hit.variants[other.index];
        if (other.leaves ? judge_.AtLeast(variant, known, doubling)
                         : judge_.AtLeast(known, variant, doubling)) {
            return other.leaves;
        }
    }
    const bool leaves = judge_.LeavesFree(hit, &variant, weaponSlots_, leastKey);
    fitted_.push_back(Fitted{index, leaves});
    return leaves;
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
        for (int slot = 0; slot < kSlotCount; ++slot) {
            letThrough_[slot] = chosen[slot]->key;
        }
        letThroughLeastKey_ = leastKey;
        hasLetThrough_ = true;
        return false;
    }
    std::copy_n(chosen, kSlotCount, shutOut_);
    shutOutLeastKey_ = leastKey;
    return true;
}

// Whether `chosen` differs from the combination last shut out only in a leaf that gives no skill
// more and has no more slots, by which its free slots fall short of `leastKey` as well. A doubling
// leaf brings profiles of its own, so neither tells about the other.
bool RankHitGate::FollowsShutOut(const CandidateGroup* const (&chosen)[kSlotCount],
                                 std::int64_t leastKey) const {
    constexpr int kLeaf = kSlotCount - 1;
    const CandidateGroup* last = shutOut_[kLeaf];
    if (last == nullptr || !std::equal(chosen, chosen + kLeaf, shutOut_) ||
        chosen[kLeaf]->key == kDoublingKey || last->key == kDoublingKey ||
        !GivesNoMore(chosen[kLeaf]->key, last->key)) {
        return false;
    }
    const int fewer = KeySlots(last->key) - KeySlots(chosen[kLeaf]->key);
    return fewer >= 0 && shutOutLeastKey_ - fewer <= leastKey;
}

// Points in the direction each skill wants, skill by skill.
bool RankHitGate::GivesNoMore(GroupKey leaf, GroupKey than) const {
    for (int k = 0; k < skillCount_; ++k) {
        if (directions_[k] * KeyPoints(leaf, k) > directions_[k] * KeyPoints(than, k)) {
            return false;
        }
    }
    return true;
}
