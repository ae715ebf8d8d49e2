#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/search_condition.h"
#include "engine/condition/tracked_skill.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/search_hit.h"
#include "engine/search/ranked_sets.h"

// Tells, before a hit of the exact mode is turned into sets, which of its variants (the hit
// itself, when it has none) may bring sets into the ranked list. Ranked by free slots, the sets
// of one variant share one arrangement and one count of slots, so one key: those slots and the
// weapon's less what the decorations take. Whether the decorations leave enough free is found
// without placing them, so that only the variants that may enter the list are arranged. The
// bounds of the enumeration tell the other keys already.
class RankHitGate {
public:
    RankHitGate(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                ExactJudge& judge, RankedSets& ranked);

    // Whether the sets of a hit without variants may enter the list; `defense`: the best
    // defence of the hit's sets.
    bool MayEnter(const SearchHit& hit, std::int64_t defense);
    // For a hit with variants: clears in `open`, a bit for each variant, those whose sets may not
    // enter the list; true where it cleared any.
    bool ShutVariants(const SearchHit& hit, std::int64_t defense, std::uint64_t* open);

    // Whether none of the sets of the combination `chosen`, with best defence `defense`, can enter
    // the list, told before it is judged. Only once the list is known to be cut: what is shut
    // out here is not known to hold sets.
    bool ShutsOutUnjudged(const CandidateGroup* const (&chosen)[kSlotCount], std::int64_t defense);

private:
    bool FollowsShutOut(const CandidateGroup* const (&chosen)[kSlotCount],
                        std::int64_t leastKey) const;
    bool GivesNoMore(GroupKey leaf, GroupKey than) const;
    bool VariantLeavesFree(const SearchHit& hit, std::size_t index, const DoublingSlots& doubling,
                           std::int64_t leastKey);

    // The variants of the hit in hand fitted so far, and whether each left enough free. The
    // variants of a hit differ only in their doubling pieces: one that brings at least what
    // another does, as the judge tells, leaves at least as many free, each slot it has more one
    // more, as the other's decorations fit its room too and meet as much.
    struct Fitted {
        std::size_t index = 0;
        bool leaves = false;
    };
    std::vector<Fitted> fitted_;

    // The combination last shut out unjudged, and the least key it had to reach. A sibling leaf
    // that gives no skill more and has no more slots has fewer free: each slot it lacks is one
    // less, and the decorations that serve it would serve the other one in the same room.
    const CandidateGroup* shutOut_[kSlotCount] = {};
    std::int64_t shutOutLeastKey_ = 0;
    // The keys of the combination last let through unjudged, and the least key it reaches: a hit
    // of it without variants need not be asked again.
    GroupKey letThrough_[kSlotCount] = {};
    std::int64_t letThroughLeastKey_ = 0;
    bool hasLetThrough_ = false;

    ExactJudge& judge_;
    RankedSets& ranked_;
    const bool gates_;
    const int weaponSlots_;
    int directions_[kMaxTrackedSkills] = {}; // +1 where a skill wants more points, -1 fewer
    int skillCount_ = 0;
};
