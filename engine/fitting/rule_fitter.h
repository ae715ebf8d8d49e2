#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/chosen_skill_table.h"
#include "engine/condition/fixed_decorations.h"
#include "engine/condition/group_key.h"
#include "engine/condition/search_condition.h"
#include "engine/fitting/slot_floor.h"
#include "engine/fitting/socket_holder.h"
#include "engine/sets/deco_block.h"
#include "engine/tables/records.h"

// One combination to evaluate. The enumeration fits fixed decorations and runs the slot
// pre-check; the refine does neither, and passes the points its sets carry beyond what their
// keys can say.
struct FitRequest {
    GroupKey keys[kSlotCount] = {};
    int weaponSlots = 0;
    bool skipSlotCheck = false;
    bool placeFixed = true;
    int extraPoints[kMaxChosenSkills] = {};
};

// Decides for one combination of group keys whether decorations can be fitted so that every
// chosen skill is met, and which go where. All state is fixed-size but the kept body fillings,
// which grow only the first time a set of needy skills meets a body capacity.
class DecorationFitter {
public:
    DecorationFitter(const SkillTable& table, const CSearchCondition& condition);

    bool FitDecorations(const FitRequest& request, DecoBlock& out);
    // Combinations evaluated so far, for benchmarks.
    std::uint64_t Evaluations() const { return evaluations_; }

private:
    struct Entry {
        CDecoData* deco = nullptr;
        int skill = 0;
        int size = 0;
    };

    // Decorations chosen but not yet placed, in order of choice. Every slot holds at most one
    // decoration, so a list longer than this could never be placed.
    struct DecoList {
        static constexpr int kCapacity = 32;
        Entry items[kCapacity];
        int count = 0;

        bool Push(const Entry& entry);
        Entry PopFront();
        bool RemoveFirstOf(int skill);
    };

    struct Snapshot {
        SocketHolder holders[kPositionCount];
        int need[kMaxChosenSkills];
        int freeSlots;
    };

    // Body fillings tried when the first doubling attempt fails: up to three decorations.
    struct Filling {
        Entry items[3];
        int count = 0;
        int code = 0; // the same decorations in any order give the same code
        // Slots the decorations take, and what they lower each need by once (points and minus
        // points together), filled in when the filling is kept.
        int slots = 0;
        int drop[kMaxChosenSkills] = {};
    };
    // The most CollectFillings can gather: for a body of three slots, each of the (at most
    // kMaxRuleFittingSkills) skills that still need points starts a size-3 filling, a size-2 +
    // size-1 one with each needy skill, and a size-1 × 3 one with each pair of them. Sized by the
    // rule-based fitting's own limit, which the fitting is never used beyond.
    static constexpr int kMaxFillings =
        kMaxRuleFittingSkills *
        (1 + kMaxRuleFittingSkills + kMaxRuleFittingSkills * kMaxRuleFittingSkills);
    // The fillings depend on nothing but the skills that need points and the body's free slots, so
    // those of each such pair are gathered once and kept: where they start in `fillings_` and how
    // many there are. The rule-based fitting takes at most kMaxRuleFittingSkills skills.
    struct FillingRange {
        int start = -1; // not gathered yet
        int count = 0;
    };
    static constexpr int kNeedyMasks = 1 << kMaxRuleFittingSkills;

    // rule_fitter.cpp: the evaluation around the fitting.
    void BeginEvaluation(const FitRequest& request);
    void SumKeyPoints(const FitRequest& request);
    void PlaceFixedDecorations();
    bool ComputeNeeds();
    bool PassesSlotCheck(const FitRequest& request) const;
    bool SettleExcludedSkills();
    bool ReachesEveryChosenSkill() const;
    int PlacedPoints(int skill) const;
    int Points(int skill, int size) const { return table_.decoPoints[skill][size]; }
    bool AnyNeed() const;

    // normal_fitting.cpp: choosing, placing and splitting.
    bool NormalFit();
    bool FreeSlotsMayHoldNeeds() const;
    bool SlotsMayHold(const int* need, int free) const;
    bool ChooseDecorations();
    bool ChooseStep(int skill, bool& preferTwo, bool& preferOne);
    bool Append(int skill, int size, bool lowersNeed);
    void ApplySideEffects(int skill, int size, int factor);
    bool PlaceChosen();
    int FindHolder(int size) const;
    bool CanSplit(int skill, int size) const;
    bool Split(const Entry& entry);
    void ClearLists();

    // doubling_fitting.cpp: fitting when some piece doubles the body.
    bool DoublingFit();
    void FillBodyFirst();
    int NeediestWithSizeOne() const;
    void PlaceInBody(const Entry* entries, int count);
    bool TryBodyFillings(const Snapshot& saved, int capacity);
    const FillingRange& FillingsFor(const int* savedNeed, int capacity);
    void CountDrops(Filling& filling) const;
    bool FillingMayFit(const Filling& filling, const int* savedNeed, int free) const;
    int CollectFillings(const int* savedNeed, int capacity, Filling* fillings) const;
    Entry MakeEntry(int skill, int size) const;
    Snapshot Save() const;
    void Restore(const Snapshot& snapshot);

    const SkillTable& table_;
    const int count_;
    // Whether a skill's need is a number of points to reach. It is not for an avoided level
    // above zero, nor for a minus level that must be active: decorations are never chosen for
    // those, so the side effects of other decorations must not turn them into needs. The final
    // recount decides them.
    bool tracked_[kMaxChosenSkills] = {};
    SlotFloor floors_[kMaxChosenSkills];
    const FixedDecorations fixed_;
    const bool hasFixed_;

    SocketHolder holders_[kPositionCount];
    int need_[kMaxChosenSkills] = {};
    int keyPoints_[kMaxChosenSkills] = {};
    // Combinations come with the leg's key changing most often: the points of the other four keys
    // (a doubling key counted as the body's) are summed once for all of those that share them.
    GroupKey prefixKeys_[kLeg] = {kNoFailedKey, kNoFailedKey, kNoFailedKey, kNoFailedKey};
    int prefixPoints_[kMaxChosenSkills] = {};
    int fixedPoints_[kMaxChosenSkills] = {};
    int freeSlots_ = 0;
    int doublingCount_ = 0;
    int factor_ = 1;                             // times a body decoration counts
    DecoList lists_[4];                          // by size 1..3
    FillingRange fillingRanges_[4][kNeedyMasks]; // by body capacity 0..3 and needy skills
    std::vector<Filling> fillings_;
    std::uint64_t evaluations_ = 0;
};
