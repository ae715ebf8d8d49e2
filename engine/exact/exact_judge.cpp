#include "engine/exact/exact_judge.h"

#include <algorithm>

#include "engine/condition/group_key.h"
#include "engine/tables/saturating.h"

ExactJudge::ExactJudge(const CSearchCondition& condition, const SkillTable& table,
                       const CandidateList (&candidates)[kSlotCount],
                       const GroupList (&groups)[kSlotCount], ExactFitter& fitter)
    : skillCount_(table.count), combination_(condition, fitter), doubling_(candidates, table),
      groups_(groups) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (const CandidateGroup& group : groups[slot]) {
            groupProfiles_[slot].push_back(ProfileOfKey(group.key, table.count));
        }
    }
}

// Calls `visit(pieces, variant, sets)` (the variant null without doubling slots) for every
// combination of the doubling slots' profiles, the first slot's changing slowest (once, with no
// doubling slot), until it returns false.
template <typename Visit>
void ExactJudge::EachProfileChoice(const CandidateGroup* const (&chosen)[kSlotCount],
                                   Visit visit) const {
    const PieceProfile* pieces[kSlotCount] = {};
    int doublingSlots[kSlotCount] = {};
    int doublingCount = 0;
    std::uint64_t regularSets = 1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (chosen[slot]->key == kDoublingKey) {
            doublingSlots[doublingCount++] = slot;
            continue;
        }
        pieces[slot] = &groupProfiles_[slot][chosen[slot] - groups_[slot].data()];
        regularSets = SaturatingMul(regularSets, static_cast<std::uint64_t>(chosen[slot]->count));
    }
    int index[kSlotCount] = {};
    for (;;) {
        std::uint64_t variantSets = regularSets;
        HitVariant variant;
        for (int i = 0; i < doublingCount; ++i) {
            const int slot = doublingSlots[i];
            pieces[slot] = &doubling_.At(slot)[index[i]];
            variant.profile[slot] = static_cast<std::uint16_t>(index[i]);
            variantSets =
                SaturatingMul(variantSets, static_cast<std::uint64_t>(pieces[slot]->count));
        }
        if (!visit(pieces, doublingCount > 0 ? &variant : nullptr, variantSets)) {
            return;
        }
        int i = doublingCount - 1;
        while (i >= 0 && ++index[i] == static_cast<int>(doubling_.At(doublingSlots[i]).size())) {
            index[i--] = 0;
        }
        if (i < 0) {
            return;
        }
    }
}

bool ExactJudge::Judge(const CandidateGroup* const (&chosen)[kSlotCount], SearchHit& hit,
                       std::uint64_t& sets) {
    sets = 0;
    bool met = false;
    EachProfileChoice(chosen, [&](const PieceProfile* const(&pieces)[kSlotCount],
                                  const HitVariant* variant, std::uint64_t variantSets) {
        if (!combination_.CanMeet(pieces)) {
            return true;
        }
        met = true;
        sets = SaturatingAdd(sets, variantSets);
        if (variant != nullptr) {
            hit.variants.push_back(*variant);
        }
        return true;
    });
    return met;
}

bool ExactJudge::LeavesFree(const CandidateGroup* const (&chosen)[kSlotCount], int weaponSlots,
                            std::int64_t leastFree) {
    bool leaves = false;
    EachProfileChoice(chosen, [&](const PieceProfile* const(&pieces)[kSlotCount], const HitVariant*,
                                  std::uint64_t) {
        leaves = PiecesLeaveFree(pieces, weaponSlots, leastFree);
        return !leaves;
    });
    return leaves;
}

bool ExactJudge::PiecesLeaveFree(const PieceProfile* const (&pieces)[kSlotCount], int weaponSlots,
                                 std::int64_t leastFree) {
    std::int64_t slots = weaponSlots;
    for (const PieceProfile* piece : pieces) {
        slots += piece->slots;
    }
    const std::int64_t spare = slots - leastFree;
    return spare >= 0 &&
           combination_.TakesAtMost(pieces, static_cast<int>(std::min<std::int64_t>(spare, 255)));
}

// A doubling piece by the variant's profile, the others by what their group keys hold.
void ExactJudge::ProfilesOf(const SearchHit& hit, const HitVariant* variant,
                            PieceProfile (&profiles)[kSlotCount],
                            const PieceProfile* (&pieces)[kSlotCount]) const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (hit.keys[slot] == kDoublingKey && variant != nullptr) {
            pieces[slot] = &doubling_.At(slot)[variant->profile[slot]];
        } else {
            profiles[slot] = ProfileOfKey(hit.keys[slot], skillCount_);
            pieces[slot] = &profiles[slot];
        }
    }
}

void ExactJudge::Arrange(const SearchHit& hit, const HitVariant* variant, DecoBlock& out) {
    PieceProfile profiles[kSlotCount];
    const PieceProfile* pieces[kSlotCount] = {};
    ProfilesOf(hit, variant, profiles, pieces);
    combination_.Arrange(pieces, out);
}

bool ExactJudge::LeavesFree(const SearchHit& hit, const HitVariant* variant, int weaponSlots,
                            std::int64_t leastFree) {
    PieceProfile profiles[kSlotCount];
    const PieceProfile* pieces[kSlotCount] = {};
    ProfilesOf(hit, variant, profiles, pieces);
    return PiecesLeaveFree(pieces, weaponSlots, leastFree);
}
