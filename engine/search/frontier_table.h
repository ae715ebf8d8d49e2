#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/tracked_skill.h"
#include "engine/exact/exact_fitting.h"

// The choices of groups for the last levels, laid out so that a prefix is weighed against all of
// them in one pass over a few rows of bytes instead of one slot count per choice.
//
// What a choice leaves to the decorations depends on the prefix only through each skill's
// shortfall: for every skill and every shortfall in points there is one row holding, per choice,
// the fewest slots the skill still needs; for every shortfall in points with the best decorations
// one row telling which choices cannot make it up. A prefix then adds up the rows of its
// shortfalls, and a choice may meet all goals where nothing lacks and the slots it needs are no
// more than the prefix's and its own: the same test as the exact fitting's bound, for all
// choices at once.
class FrontierTable {
public:
    struct Choice {
        int points[kMaxTrackedSkills] = {};
        int with[kMaxTrackedSkills] = {};
        int slots = 0;
        std::int64_t defense = 0;
    };

    // `choices` strongest defence first; `slotCap`: the most slots a whole combination can hold.
    // `slotChecked` marks the skills whose shortfall in points the rule-based fitting weighs
    // against two points a slot before it places anything: a choice that leaves them more
    // missing than that is ruled out too. None for the exact fitting, which has no such check.
    void Build(const std::vector<Choice>& choices, const ExactFitter& fitter, int slotCap,
               std::uint32_t slotChecked);
    bool Empty() const { return size_ == 0; }
    // Whether some choice has a best defence of `leastDefense` or more: most prefixes far below
    // the minimum are answered by this alone, before their shortfalls are worked out.
    bool AnyAsStrongAs(std::int64_t leastDefense) const {
        return size_ > 0 && leastDefense <= defense_.front();
    }
    // Whether some choice of best defence `leastDefense` or more may meet every goal with a
    // prefix still `pointsShort` of each goal in points, `withShort` of it with the best
    // decorations in its slots, and `slots` slots.
    bool AnyMayMeet(const int* pointsShort, const int* withShort, int slots,
                    std::int64_t leastDefense) const;
    // The same for each choice of best defence `leastDefense` or more: `mayMeet[e]` is 1 where
    // choice e may. The weaker ones are not weighed and left at 1.
    void MayMeetEach(const int* pointsShort, const int* withShort, int slots,
                     std::int64_t leastDefense, std::vector<std::uint8_t>& mayMeet) const;

private:
    // One row of bytes per shortfall from `first` to `last`, `stride` bytes each.
    struct Rows {
        int first = 0;
        int last = 0;
        std::vector<std::uint8_t> bytes;
    };
    static constexpr int kBlock = 32;
    // What a lack row holds for a choice that cannot make the shortfall up: more slots than any
    // combination holds.
    static constexpr std::uint8_t kLacks = 128;

    void BuildNeedRows(int k, const std::vector<Choice>& choices, const ExactFitter& fitter);
    void BuildLackRows(int k, const std::vector<Choice>& choices);
    void KeepCheckedPoints(int k, const std::vector<Choice>& choices);
    void BuildEligibleCounts();
    int Eligible(std::int64_t leastDefense) const;
    struct Query {
        const std::uint8_t* rows[2 * kMaxTrackedSkills];
        int skillOf[kMaxTrackedSkills];
        int needCount = 0;
        int rowCount = 0;
        const std::int16_t* checkedPoints[kMaxTrackedSkills];
        int checkedShort[kMaxTrackedSkills];
        int checkedCount = 0;
    };
    bool Prepare(const int* pointsShort, const int* withShort, Query& query) const;
    bool PrepareSlotCheck(const int* pointsShort, int slots, int end, Query& query) const;
    void BuildMostRoom();
    void BuildMostNeedRoom(const std::vector<Choice>& choices);
    bool SummedNeedMayFit(const int* pointsShort, int slots, int end) const;
    bool OnlyChoiceMayMeet(const int* pointsShort, const int* withShort, int slots) const;
    void BlockExcess(int base, const Query& query, std::int16_t* excess) const;
    static bool AnyLaneWithin(const std::int16_t* excess, int lanes, int slots);
    std::int16_t SharedExcess(int i, const Query& query) const;
    void FailSlotCheck(int base, const Query& query, std::int16_t* excess) const;

    int count_ = 0;
    int size_ = 0;
    int stride_ = 0;
    int slotCap_ = 0;
    int mostChoiceSlots_ = 0;
    int leastChoiceSlots_ = 0;
    std::vector<std::int64_t> defense_; // strongest first
    // How many choices have at least each defence from the weakest choice's up, looked up instead
    // of searched: nearly every prefix asks. Empty where the defences spread too wide for it.
    std::vector<int> eligibleFrom_;
    std::vector<std::int16_t> ownSlots_; // minus the slots of each choice
    Rows need_[kMaxTrackedSkills];       // slots still needed, capped one above `slotCap_`
    Rows lack_[kMaxTrackedSkills];       // kLacks where the best decorations cannot make it up
    // The points of each choice in the skills the slot check weighs, the least and the most of
    // them, and one less twice the slots of each choice.
    std::uint32_t slotChecked_ = 0;
    std::vector<std::int16_t> checkedPoints_[kMaxTrackedSkills];
    int leastPoints_[kMaxTrackedSkills] = {};
    int mostPoints_[kMaxTrackedSkills] = {};
    std::vector<std::int16_t> ownPointRoom_;
    // Past this many checked skills the sets of them would take more room than they save.
    static constexpr int kMostSummedSkills = 5;
    int checkedBit_[kMaxTrackedSkills] = {}; // each checked skill's place among them
    std::vector<int> mostRoom_;              // by set of checked skills, then by count of choices
    std::uint32_t sharedWith_[kMaxTrackedSkills] = {};
    bool anyShared_ = false;
    // The fewest slots a point of each skill's shortfall takes at least, in 1/kSlotScale slots:
    // the need rows are never below that times the shortfall, as long as they hold less than the
    // cap. 0 where the rows stop short of the cap, and past them only the cap is sure.
    static constexpr int kSlotScale = 1024;
    int pointSlots_[kMaxTrackedSkills] = {};
    int leastNeedPoints_[kMaxTrackedSkills] = {}; // each skill's first need row, read together
    // For every set of skills and every count e of choices, the most that one of the first e
    // choices takes off that bound summed over the set, its own slots included; empty where
    // some decoration serves two skills, as their slots then need not add up.
    std::vector<std::int64_t> mostNeedRoom_;
};
