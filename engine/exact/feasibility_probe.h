#pragma once

#include <atomic>
#include <vector>

#include "engine/tables/equip_database.h"
#include "engine/exact/exact_combination.h"
#include "engine/exact/exact_fitting.h"
#include "engine/condition/search_condition.h"

// Answers one question exactly: does any armour set, with decorations fitted as the exact fitting
// allows, meet every tracked skill under the condition (its pieces, lists, fixed set, minimum
// defence and decorations)? Unlike a search it lists nothing and stops at the first set, so it
// keeps only the pieces no other piece of their slot beats in every respect, and tries the body
// first, as a doubling piece counts what the body holds.
class FeasibilityProbe {
public:
    FeasibilityProbe(const CSearchCondition& condition, const CEquipDatabase& database,
                     const std::vector<TrackedSkill>& skills, const std::atomic<bool>* abort);

    // False also when aborted.
    bool AnySet();

private:
    struct Option {
        PieceProfile profile;
        int gain[kMaxTrackedSkills] = {};
        int defense = 0;
    };
    // Upper bounds of what the levels still open can bring, given the body.
    struct Reach {
        int points[kMaxTrackedSkills] = {};
        int with[kMaxTrackedSkills] = {};
        int slots = 0;
        long long defense = 0;
    };

    void CollectOptions(const CSearchCondition& condition, const CEquipDatabase& database);
    void KeepUndominated(int slot, bool weighDefense);
    bool Descend(int depth, const Reach& chosen);
    void AddOption(Reach& reach, const Option& option) const;
    Reach BestOf(int slot) const;
    bool Reaches(const Reach& reach) const;

    std::vector<TrackedSkill> skills_;
    int count_ = 0;
    ExactFitter fitter_;
    ExactCombination combination_;
    const std::atomic<bool>* abort_;
    long long minDefense_ = 0;
    int goal_[kMaxTrackedSkills] = {};
    bool bounded_ = true;
    Reach start_;
    std::vector<Option> options_[kSlotCount];
    // The body chosen, and per open slot the best it can bring with that body.
    const Option* body_ = nullptr;
    Reach best_[kSlotCount];
    const PieceProfile* pieces_[kSlotCount] = {};
    long long steps_ = 0;
};
