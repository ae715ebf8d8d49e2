#include "engine/exact/exact_judge.h"

#include <algorithm>

#include "engine/condition/fixed_decorations.h"
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
    NoteDominance(condition, fitter);
}

// A doubling profile brings at least what another does when it has as many slots and, in the
// direction each skill wants, as many points: every arrangement of decorations that fits the
// other's room fits its room too and meets as much. A fixed decoration counts only where it
// fits, so more slots could add the points of one that works against a skill: where fixed ones
// sit, only profiles of equal slots are compared.
void ExactJudge::NoteDominance(const CSearchCondition& condition, const ExactFitter& fitter) {
    const FixedDecorations fixed(condition);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::vector<PieceProfile>& profiles = doubling_.At(slot);
        const std::size_t n = profiles.size();
        profileCounts_[slot] = n;
        dominates_[slot].assign(n * n, 0);
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                const PieceProfile& a = profiles[i];
                const PieceProfile& b = profiles[j];
                bool holds = fixed.count[slot] == 0 ? a.slots >= b.slots : a.slots == b.slots;
                for (int k = 0; holds && k < fitter.SkillCount(); ++k) {
                    holds = fitter.Skill(k).Gain(a.points[k]) >= fitter.Skill(k).Gain(b.points[k]);
                }
                dominates_[slot][i * n + j] = holds ? 1 : 0;
            }
        }
    }
}

// Whether the variant passes `test`, which holds for every variant at least as strong as one
// that passes. A variant at least as strong as one passed, or no stronger than one failed, is
// told by that one without testing it. (Testing from the middle of the variants, so that
// either answer tells half, tested hardly fewer and cost more in sorting them.)
template <typename Test>
bool ExactJudge::Decide(const PieceProfile* const (&pieces)[kSlotCount], const HitVariant* variant,
                        Test test) {
    if (variant == nullptr) {
        return test(pieces);
    }
    for (const Decided& decided : decided_) {
        if (decided.passed ? AtLeast(*variant, decided.variant, doublingSlots_)
                           : AtLeast(decided.variant, *variant, doublingSlots_)) {
            return decided.passed;
        }
    }
    const bool passed = test(pieces);
    decided_.push_back({*variant, passed});
    return passed;
}

// Calls `visit(pieces, variant, sets)` (the variant null without doubling slots) for every
// combination of the doubling slots' profiles, the first slot's changing slowest (once, with no
// doubling slot), until it returns false.
template <typename Visit>
void ExactJudge::EachProfileChoice(const CandidateGroup* const (&chosen)[kSlotCount], Visit visit) {
    const PieceProfile* pieces[kSlotCount] = {};
    doublingSlots_.count = 0;
    std::uint64_t regularSets = 1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (chosen[slot]->key == kDoublingKey) {
            doublingSlots_.slots[doublingSlots_.count++] = slot;
            continue;
        }
        pieces[slot] = &groupProfiles_[slot][chosen[slot] - groups_[slot].data()];
        regularSets = SaturatingMul(regularSets, static_cast<std::uint64_t>(chosen[slot]->count));
    }
    int index[kSlotCount] = {};
    for (;;) {
        std::uint64_t variantSets = regularSets;
        HitVariant variant;
        for (int i = 0; i < doublingSlots_.count; ++i) {
            const int slot = doublingSlots_.slots[i];
            pieces[slot] = &doubling_.At(slot)[index[i]];
            variant.profile[slot] = static_cast<std::uint16_t>(index[i]);
            variantSets =
                SaturatingMul(variantSets, static_cast<std::uint64_t>(pieces[slot]->count));
        }
        if (!visit(pieces, doublingSlots_.count > 0 ? &variant : nullptr, variantSets)) {
            return;
        }
        int i = doublingSlots_.count - 1;
        while (i >= 0 &&
               ++index[i] == static_cast<int>(doubling_.At(doublingSlots_.slots[i]).size())) {
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
    decided_.clear();
    met_.clear();
    // The variants differ in their doubling pieces alone, which bring points only at the body:
    // elsewhere, the points the first variant tested summed hold for all.
    const bool pointsVary = chosen[kBody]->key == kDoublingKey;
    bool summed = false;
    auto canMeet = [&](const PieceProfile* const(&pieces)[kSlotCount]) {
        if (summed && !pointsVary) {
            return combination_.CanMeetWithSlotsOf(pieces);
        }
        summed = true;
        return combination_.CanMeet(pieces);
    };
    EachProfileChoice(chosen, [&](const PieceProfile* const(&pieces)[kSlotCount],
                                  const HitVariant* variant, std::uint64_t variantSets) {
        if (!Decide(pieces, variant, canMeet)) {
            return true;
        }
        met = true;
        sets = SaturatingAdd(sets, variantSets);
        if (variant != nullptr) {
            met_.push_back(*variant);
        }
        return true;
    });
    hit.variants.assign(met_.begin(), met_.end());
    return met;
}

bool ExactJudge::LeavesFree(const CandidateGroup* const (&chosen)[kSlotCount], int weaponSlots,
                            std::int64_t leastFree) {
    bool leaves = false;
    decided_.clear();
    auto leavesFree = [&](const PieceProfile* const(&pieces)[kSlotCount]) {
        return PiecesLeaveFree(pieces, weaponSlots, leastFree);
    };
    EachProfileChoice(chosen, [&](const PieceProfile* const(&pieces)[kSlotCount],
                                  const HitVariant* variant, std::uint64_t) {
        leaves = Decide(pieces, variant, leavesFree);
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
                            const PieceProfile* (&pieces)[kSlotCount]) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (hit.keys[slot] == kDoublingKey && variant != nullptr) {
            pieces[slot] = &doubling_.At(slot)[variant->profile[slot]];
        } else {
            pieces[slot] = &ProfileOf(slot, hit.keys[slot]);
        }
    }
}

const PieceProfile& ExactJudge::ProfileOf(int slot, GroupKey key) {
    constexpr int kShift = 64 - kKeyedBits;
    KeyedProfile& keyed = keyed_[slot][(key * 0x9E3779B97F4A7C15ULL) >> kShift];
    if (keyed.key != key) {
        keyed.key = key;
        keyed.profile = ProfileOfKey(key, skillCount_);
    }
    return keyed.profile;
}

void ExactJudge::Arrange(const SearchHit& hit, const HitVariant* variant, DecoBlock& out) {
    const PieceProfile* pieces[kSlotCount] = {};
    ProfilesOf(hit, variant, pieces);
    combination_.Arrange(pieces, out);
}

bool ExactJudge::LeavesFree(const SearchHit& hit, const HitVariant* variant, int weaponSlots,
                            std::int64_t leastFree) {
    const PieceProfile* pieces[kSlotCount] = {};
    ProfilesOf(hit, variant, pieces);
    return PiecesLeaveFree(pieces, weaponSlots, leastFree);
}
