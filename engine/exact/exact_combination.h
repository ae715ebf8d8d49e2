#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/condition/fixed_decorations.h"
#include "engine/condition/search_condition.h"
#include "engine/exact/exact_fitting.h"
#include "engine/sets/equip_set.h"

// What one armour piece brings to the exact fitting: its points in the tracked skills, its slots
// and whether it doubles the body.
struct PieceProfile {
    int points[kMaxTrackedSkills] = {};
    int slots = 0;
    bool doubling = false;
    int count = 0; // pieces of a group that share this profile
};

// Whether two pieces bring the same to the exact fitting. A doubling piece differs from a plain
// one with the same slots and points: it counts the body's points once more.
bool SameProfile(const PieceProfile& a, const PieceProfile& b);

// The room a listed set leaves for more decorations: each position's free slots, the body's
// counted once more per doubling piece. None when some position already carries more than its
// slots (a weapon whose slots were lowered): such a set cannot be listed, let alone take more.
std::optional<FreeRoom> FreeRoomOf(const CEquipSet& set);

// The tracked skills of a search in the skill table's order, and the decorations the exact
// fitting may use: not excluded, owned when only owned ones count, with plus points in a tracked
// skill.
std::vector<TrackedSkill> TrackedSkillsOf(const SkillTable& table);
std::vector<CDecoData*> ExactDecorations(const CSearchCondition& condition,
                                         const CEquipDatabase& database,
                                         const std::vector<TrackedSkill>& skills);

// The most the condition's fixed decorations (where their piece is fixed, and on the weapon) can
// add to each skill's gain, for bounds; false when one sits on the body, whose decorations count
// once more per doubling piece and are not bounded.
bool FixedDecorationGains(const CSearchCondition& condition,
                          const std::vector<TrackedSkill>& skills, int* gains);

// Judges combinations of five pieces exactly, with the condition's fixed decorations in place:
// the pieces' points as the skill summary counts them (a doubling piece brings the body's points,
// a body decoration counts once more per doubling piece) and the free slots of all six positions.
class ExactCombination {
public:
    ExactCombination(const CSearchCondition& condition, ExactFitter& fitter);

    bool CanMeet(const PieceProfile* const (&pieces)[kSlotCount]);
    // The same for pieces that differ from those of the last call only in the slots of doubling
    // pieces off the body, whose own points count nowhere: the points summed then still hold.
    bool CanMeetWithSlotsOf(const PieceProfile* const (&pieces)[kSlotCount]);
    // The fixed decorations and the cheapest added ones, by position.
    bool Arrange(const PieceProfile* const (&pieces)[kSlotCount], DecoBlock& out);
    // Whether all decorations of that arrangement, the fixed ones too, take at most `slots` slots.
    bool TakesAtMost(const PieceProfile* const (&pieces)[kSlotCount], int slots);

private:
    // The pieces' points into `base_`; returns the number of doubling pieces.
    int SumPoints(const PieceProfile* const (&pieces)[kSlotCount]);
    void Describe(const PieceProfile* const (&pieces)[kSlotCount]);
    // The room and points alone, for the fitter's answers; returns the slots the fixed
    // decorations take.
    int DescribeRoom(const PieceProfile* const (&pieces)[kSlotCount]);
    // The slots of a position, a piece's or the weapon's, as a holder takes them.
    int SlotsAt(const PieceProfile* const (&pieces)[kSlotCount], int position) const;

    ExactFitter& fitter_;
    int weaponSlots_ = 0;
    const FixedDecorations fixed_;
    const bool hasFixed_;
    int ids_[kMaxTrackedSkills] = {}; // the tracked skills' systems
    // State of the combination last described.
    SocketHolder holders_[kPositionCount];
    FreeRoom room_;
    int base_[kMaxTrackedSkills] = {};
    int fixedSlots_ = 0; // taken by the fixed decorations placed
};

// The doubling pieces among a search's candidates, by the profiles the exact fitting tells apart:
// their slot counts, and at the body their own points, which count once per doubling piece.
class DoublingProfiles {
public:
    DoublingProfiles(const CandidateList (&candidates)[kSlotCount], const SkillTable& table);

    const std::vector<PieceProfile>& At(int slot) const { return profiles_[slot]; }
    int IndexOf(int slot, const CEquipData& piece) const;

private:
    PieceProfile ProfileOf(int slot, const CEquipData& piece) const;

    const SkillTable& table_;
    std::vector<PieceProfile> profiles_[kSlotCount];
};

// The profile of a group that is not the doubling group: what its key holds.
PieceProfile ProfileOfKey(GroupKey key, int skillCount);
