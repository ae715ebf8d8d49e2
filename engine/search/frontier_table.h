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
    void Build(const std::vector<Choice>& choices, const ExactFitter& fitter, int slotCap);
    bool Empty() const { return size_ == 0; }
    // Whether some choice of best defence `leastDefense` or more may meet every goal with a
    // prefix still `pointsShort` of each goal in points, `withShort` of it with the best
    // decorations in its slots, and `slots` slots.
    bool AnyMayMeet(const int* pointsShort, const int* withShort, int slots,
                    std::int64_t leastDefense) const;

private:
    // One row of bytes per shortfall from `first` to `last`, `stride` bytes each.
    struct Rows {
        int first = 0;
        int last = 0;
        std::vector<std::uint8_t> bytes;
    };
    static constexpr int kBlock = 32;

    void BuildNeedRows(int k, const std::vector<Choice>& choices, const ExactFitter& fitter);
    void BuildLackRows(int k, const std::vector<Choice>& choices);
    int Eligible(std::int64_t leastDefense) const;
    bool AnyInBlock(int base, int end, const std::uint8_t* const* need, int needCount,
                    const std::uint8_t* const* lack, int lackCount, int slots) const;
    bool AnySharedInBlock(int base, int end, const std::uint8_t* const* need, const int* skillOf,
                          int needCount, const std::uint8_t* const* lack, int lackCount,
                          int slots) const;

    int count_ = 0;
    int size_ = 0;
    int stride_ = 0;
    int slotCap_ = 0;
    int mostChoiceSlots_ = 0;
    std::vector<std::int64_t> defense_; // strongest first
    std::vector<std::uint8_t> slots_;
    Rows need_[kMaxTrackedSkills]; // slots still needed, capped one above `slotCap_`
    Rows lack_[kMaxTrackedSkills]; // 1 where the best decorations cannot make the shortfall up
    std::uint32_t sharedWith_[kMaxTrackedSkills] = {};
    bool anyShared_ = false;
};
