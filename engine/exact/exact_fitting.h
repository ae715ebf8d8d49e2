#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "engine/condition/tracked_skill.h"
#include "engine/exact/cost_memo.h"
#include "engine/exact/helping_fillings.h"
#include "engine/fitting/fit_memo.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/tables/records.h"

// Room a combination offers for new decorations: the free slots of each position and how many
// times a decoration there counts (a body decoration counts once more per doubling piece).
struct FreeRoom {
    int capacity[kPositionCount] = {};
    int times[kPositionCount] = {1, 1, 1, 1, 1, 1};
};

// Decides exactly whether decorations can be put into free slots so that every tracked skill is
// met, considering every usable decoration with all of its points and every way of placing them;
// and finds the arrangement that uses the fewest slots, then the fewest decorations.
//
// A decoration that another one beats or equals in every tracked skill at no greater size is
// never needed and is left out. Ties between arrangements of equal cost go to the first found:
// the body is filled first when its decorations count more than once, then the positions with
// three, two and one free slots; each tries its fillings cheapest first, then by the table
// positions of their decorations; positions of equal room are filled in the order head, body,
// arm, waist, leg, weapon.
class ExactFitter {
public:
    // `usable`: the decorations the search may use, in table order.
    ExactFitter(const TrackedSkill* skills, int count, const std::vector<CDecoData*>& usable);

    int SkillCount() const { return count_; }
    const TrackedSkill& Skill(int k) const { return skills_[k]; }

    // Whether decorations in `room` can lift the points `base` of each tracked skill to its
    // bound.
    bool CanMeet(const FreeRoom& room, const int* base);
    // The same for the points of the last call, in another room.
    bool CanMeetInRoom(const FreeRoom& room);
    // The cheapest arrangement that does, as decorations per position; false when none does.
    bool Arrange(const FreeRoom& room, const int* base, DecoBlock& added);
    // Whether that arrangement takes at most `slots` slots; found without placing it.
    bool TakesAtMost(const FreeRoom& room, const int* base, int slots);

    // The most a holder of `capacity` slots can add to skill k's gain; for bounds.
    int BestGain(int k, int capacity) const { return bestGain_[capacity][k]; }
    // Whether the goals might still be met by what has `points` so far, at most `with` once
    // `slots` slots hold their best decorations; false only when they surely cannot.
    bool GoalsMayBeMet(const int* goals, const int* points, const int* with, int slots) const;
    // The fewest slots that might give the gains `required`: fewer surely cannot. 255 when no
    // decoration serves some skill that still needs a gain.
    int SlotsNeeded(const int* required) const;
    // Its parts, for bounds that weigh many choices at once: the fewest slots that might give
    // skill k the gain `required` on its own (255 when no decoration serves it), and whether one
    // decoration helps both k and m, so that their slots are not added up.
    int SkillSlotsNeeded(int k, int required) const { return MinSlots(k, required); }
    bool ServesBoth(int k, int m) const { return ((sharedWith_[k] >> m) & 1U) != 0; }

private:
    // Whether the gains `required` (only those above zero matter) might be reached with
    // `slots` slots in all; false only when they surely cannot.
    bool SlotsMayReach(const int* required, int slots) const;

    struct Filling {
        int gain[kMaxTrackedSkills] = {};
        int size = 0;
        int count = 0;
        std::uint16_t decos[3] = {}; // indices into decos_, ascending
        std::uint32_t helps = 0;     // bit k: it adds to skill k's gain
        std::uint32_t touches = 0;   // bit k: it changes skill k's gain
    };

    // Holders left to fill: counts by capacity for those that count once, and at most one that
    // counts `weightedTimes` times.
    struct Holders {
        int single[4] = {};
        int weightedCapacity = 0;
        int weightedTimes = 0;
    };

    // What holders can add to each skill's gain at most and at least, and their slots: the same
    // for every sub-problem that meets them, so found once for each holders.
    struct Reach {
        int most[kMaxTrackedSkills] = {};
        int least[kMaxTrackedSkills] = {};
        int slots = 0;
    };
    // Asked at every step, so the look-up stays in line; the reach is worked out once.
    const Reach& ReachOf(const Holders& holders) const {
        const Reach* known = reachAt_[KindOf(holders)];
        return known != nullptr ? *known : NewReach(holders);
    }
    const Reach& NewReach(const Holders& holders) const;
    // Holders hold at most six positions, each count fits 0..6; the weighted one counts at most
    // 7 times.
    static std::size_t KindOf(const Holders& holders) {
        return static_cast<std::size_t>(
            holders.single[1] +
            7 * (holders.single[2] + 7 * (holders.single[3] + 7 * (holders.weightedCapacity +
                                                                   4 * holders.weightedTimes))));
    }

    void KeepUsefulDecorations(const std::vector<CDecoData*>& usable);
    void BuildFillings();
    // The places of the fillings of a holder that add to every skill of `mask`, in the order of
    // `fillings_` and of `cheapestFirst_`.
    const std::vector<std::uint32_t>& DecidingHelping(int capacity, std::uint32_t mask);
    const std::vector<std::uint32_t>& CheapestHelping(int capacity, std::uint32_t mask);
    void BuildSlotTables();
    void BuildSharedTable();
    // What the decorations for the skills with a positive requirement need at least, each skill
    // counted on its own: slots, and cost where no decoration serves two of those skills.
    struct Need {
        int slots = 0;
        int cost = 0;
        bool shared = false;
    };
    // A sub-problem as both searches over holders see it: its requirements once bounded (or
    // why it needs no search), and the holder it fills next with what the others can add.
    enum class Opening { kCannotMeet, kMet, kOpen };
    struct Step {
        int required[kMaxTrackedSkills] = {};
        Need need; // of `required`, found by the bound
        Holders rest;
        int capacity = 0;
        int times = 1;
        const int* restMost = nullptr;
    };
    // `known`, where given, is the need of `required`.
    Opening Open(const Holders& holders, const int* required, Step& step,
                 const Need* known = nullptr) const;
    bool Solve(const Holders& holders, const int* required, const Need* knownNeed = nullptr);
    // Raises `required` to the least the holders add anyway; false when they cannot meet it.
    // `need` is that of the raised requirements.
    bool Bounded(const Holders& holders, int* required, Need& need,
                 const Need* known = nullptr) const;
    // The first half of that: false when some requirement is more than the holders can add.
    bool Raised(const Reach& reach, int* required) const;
    int MinSlots(int k, int required) const;
    Need NeedOf(const int* required) const;
    // A step's requirements and what each needs on its own, so that the need after a filling is
    // found from the few skills the filling changes.
    struct StepNeed {
        std::uint16_t slots[kMaxTrackedSkills] = {};
        std::uint16_t cost[kMaxTrackedSkills] = {};
        std::uint32_t needing = 0;
        std::uint32_t unreachable = 0;
        // Skills needing more than the rest can add: a filling that leaves them as they are fails.
        std::uint32_t mustGain = 0;
        int slotSum = 0;
        int slotMost = 0;
        int costSum = 0;
        bool shared = false; // some decoration serves two of the skills needing
    };
    StepNeed StepNeedOf(const int* required, const int* restMost) const;
    // The fewest slots the rest may need after `filling`, found without the requirements left:
    // one that needs more than the rest holds is passed over before they are worked out.
    static int SlotFloorAfter(const StepNeed& base, const Filling& filling, int times);
    // The slots that floor starts from where fillings take points from the skills `hurts`
    // without adding to them.
    static int SlotsBefore(const StepNeed& base, std::uint32_t hurts);
    // The fewest slots a filling taken `times` over needs for that floor to fit the rest's
    // `restSlots`, for fillings that take from no skills but `hurts`. The fillings are sorted by
    // size, so the smaller ones are passed over at once.
    static int LeastFillingSize(const StepNeed& base, std::uint32_t hurts, int times,
                                int restSlots);
    // The places in `places` from the first filling of `fillings`, sorted by size ascending, of at
    // least `size`.
    static const std::uint32_t* FirstOfSize(const std::vector<std::uint32_t>& places,
                                            const std::vector<const Filling*>& fillings, int size);
    // The need of what is left to gain after `filling`; false when the rest cannot gain it
    // anyway.
    // Whether the rest, of `restSlots` slots, may still hold what is left after `filling`, the
    // cheap floor first; `need` is then what is left's need.
    bool RestMayHold(const StepNeed& base, const int* required, const Filling& filling, int times,
                     const int* restMost, int restSlots, Need& need) const;
    bool NeedAfter(const StepNeed& base, const int* required, const Filling& filling, int times,
                   const int* restMost, Need& need) const;
    int MostSlotsAfter(const StepNeed& base, const int* required, const Filling& filling, int times,
                       std::uint32_t needing) const;
    // What is left to gain after `filling`, into `after`.
    void Apply(const int* required, const Filling& filling, int times, int* after) const;
    // The fillings of least cost in the order the holders are taken, each with the holder's
    // capacity and whether it is the weighted one; the same for every room of the same holders.
    struct Arrangement {
        bool found = false;
        int count = 0;
        const Filling* fillings[kPositionCount] = {};
        int capacity[kPositionCount] = {};
        bool weighted[kPositionCount] = {};
    };
    struct KeyHash {
        std::size_t operator()(const FitMemo::Key& key) const {
            return std::hash<std::uint64_t>()(key.a * 0x9E3779B97F4A7C15ULL ^ key.b);
        }
    };
    struct KeyEqual {
        bool operator()(const FitMemo::Key& x, const FitMemo::Key& y) const {
            return x.a == y.a && x.b == y.b;
        }
    };

    // `need` is that of the requirements, raised as the sub-problems are.
    Arrangement FindArrangement(Holders holders, const int* required, const Need& need);
    // The first filling of least cost for the next of `holders`, of `capacity`, as the cost
    // search kept it; null where it kept none.
    const Filling* KnownChoice(const Holders& holders, int capacity, const int* required) const;
    // The same found afresh: the first filling for the holder taken from `rest` whose cost and
    // the least cost of `rest` after it come to `target`, the least cost of all.
    const Filling* SearchChoice(const Holders& rest, int capacity, int times, const int* required,
                                int target);
    void PlaceArrangement(const Arrangement& arrangement, const FreeRoom& room,
                          DecoBlock& added) const;
    // The least cost above `limit` of a filling for a holder of `capacity`; kNoCost when none
    // costs more.
    int CostAbove(int capacity, int limit) const;
    int MinCost(const Holders& holders, const int* required, const Need& need);
    int CostWithin(const Holders& holders, const int* required, int budget,
                   const Need* known = nullptr);
    // What a search of a step within a limit found: the least cost and the place of its first
    // filling in `cheapestFirst_`, or a bound above the limit that the least cost reaches.
    struct Pass {
        int best = kNoCost;
        std::size_t chosen = 0;
    };
    // What a search within `budget` proved of a least cost of `cost`, packed for a memo: the cost
    // where it is within the budget, else a bound it exceeds.
    static std::uint16_t PackedCost(int cost, int budget);
    Pass Deepen(const Step& step, int budget, int least);
    Pass Search(const Step& step, int limit, int least);
    int RestCost(const Holders& rest, const int* after, int budget, const Need& need);
    // The choices the least-cost search made on the way to the least cost it found last, by the
    // depth of their holder, up to where the way stopped: at the requirements met, or at a
    // sub-problem whose cost the memo knew, whose choices arranging reads on from the memo. They
    // are the choices the memo keeps for those sub-problems, as each search on the way stopped at
    // the first it found; not so where one weighed more after it, as with shared decorations.
    struct Trail {
        const Filling* choices[kPositionCount] = {};
        int length = 0;
        bool valid = false;
    };
    void EndTrail(int length) { trail_.length = std::min(length, int{kPositionCount}); }
    int LeastCostOf(const Holders& holders, const Need& need) const;
    // A tighter bound than that under a weighted holder, where no decoration serves two of the
    // skills needing.
    int WeightedLeastCost(const Holders& holders, const int* required) const;
    static int CostOf(int slots, int decos) { return slots * 64 + decos; }
    static int CostOfFilling(const Filling& filling) { return CostOf(filling.size, filling.count); }
    // The skills, as bits, that no choice of the holders in `rest` can make lacking again: their
    // requirement is at most the least the rest can add.
    std::uint32_t Settled(const Holders& rest, const int* required) const;
    // A filling that adds only to settled skills leaves the rest no less to do than no filling
    // at all, at a higher cost: it is never the cheapest choice, nor the first of least cost. A
    // surplus in a skill that is met but not settled may still be needed: a later decoration may
    // take points from it. (The fillings for deciding may lack the empty one, so they keep every
    // choice.)
    static bool Idle(const Filling& filling, std::uint32_t settled) {
        return filling.count > 0 && (filling.helps & ~settled) == 0;
    }
    bool KeyOf(const Holders& holders, const int* required, FitMemo::Key& key) const;
    // KeyOf's two halves: the requirements, false where they do not fit, and the holders.
    bool PackRequirements(const int* required, FitMemo::Key& key) const;
    static void AddHolders(const Holders& holders, FitMemo::Key& key);
    bool PackNarrow(const int* required, FitMemo::Key& key) const;
    static void TakeHolder(Holders& holders, int& capacity, int& times);
    Holders RemainingFrom(int position, const FreeRoom& room) const;

    TrackedSkill skills_[kMaxTrackedSkills];
    int count_ = 0;
    // Bits of a memo key that hold requirements, and the width each of them gets.
    static constexpr int kRequirementBits = 96;
    int fieldBits_ = 16;
    std::vector<CDecoData*> decos_;
    std::vector<std::array<int, kMaxTrackedSkills>> decoGain_;
    // Fillings of a holder by capacity: for deciding (best gains only) and for arranging (gains,
    // slots and count), each without dominated ones.
    std::vector<Filling> fillings_[4];
    std::vector<Filling> arrangeFillings_[4];
    std::vector<const Filling*> cheapestFirst_[4]; // the arranging ones by cost
    // Of the decorations that add to a skill, each choice of at most three slots that no other
    // beats in slots, cost and gain at once, by skill and by size ascending.
    struct SkillPart {
        int size = 0;
        int cost = 0;
        int gain = 0;
    };
    std::vector<SkillPart> skillParts_[kMaxTrackedSkills];
    void BuildSkillParts();
    // The skills some of those fillings take points from without adding to them.
    std::uint32_t decideHurts_[4] = {};
    std::uint32_t arrangeHurts_[4] = {};
    // Which of those add to the skills a step's rest cannot make up, for deciding and by cost.
    HelpingFillings decideHelping_[4];
    HelpingFillings costHelping_[4];
    int bestGain_[4][kMaxTrackedSkills] = {};
    int worstGain_[4][kMaxTrackedSkills] = {};
    // Fewest slots that give skill k a gain of r, and the least cost of decorations that do, for
    // r up to kMinSlotsRange; at k * kMinSlotsRange + r, as the bounds read both together.
    static constexpr int kMinSlotsRange = 512;
    struct GainNeed {
        std::uint16_t slots = 0;
        std::uint16_t cost = 0;
    };
    std::vector<GainNeed> gainNeeds_;
    const GainNeed& GainNeedOf(int k, int required) const {
        return gainNeeds_[static_cast<std::size_t>(k * kMinSlotsRange +
                                                   std::min(required, kMinSlotsRange - 1))];
    }
    // The skills m for which some decoration helps both skill k and m, as bit m of sharedWith_[k].
    std::uint32_t sharedWith_[kMaxTrackedSkills] = {};
    // Whether some decoration serves two of the skills in mask m, at m; a byte each, as the
    // steps read it for nearly every filling.
    std::vector<std::uint8_t> sharedAmong_;
    static constexpr std::uint16_t kCannotMeet = 1;
    static constexpr std::uint16_t kCanMeet = 2;
    static constexpr int kNoCost = 0x7FFF;
    // The fewest slots of a gain no decoration reaches.
    static constexpr std::uint8_t kUnreachable = 0xFF;
    FitMemo memo_; // whether a sub-problem can be met
    // A sub-problem's least cost, or a bound the cost exceeds; where the cost is proven, the first
    // filling of least cost for the next holder, as its place in `cheapestFirst_` plus one:
    // arranging then walks the choices without searching.
    CostMemo costMemo_;
    static constexpr std::size_t kNoChoice = 0xFFFF;
    // What TakesAtMost learnt of the requirements as asked, before they are bounded: the ranked
    // search asks again for half the rooms and points it met, mostly with the same slots.
    FitMemo askedMemo_;
    // The requirements CanMeet was last asked, with their half of a memo key (where they fit).
    int asked_[kMaxTrackedSkills] = {};
    FitMemo::Key askedKey_;
    bool askedFits_ = false;
    // Arrangements found, by the holders and the requirements.
    std::unordered_map<FitMemo::Key, Arrangement, KeyHash, KeyEqual> arrangements_;
    // The reach of each holders met, found when first asked (a deque keeps them in place), and
    // by the holders' counts.
    static constexpr int kHolderKinds = 7 * 7 * 7 * 4 * 8;
    Trail trail_;
    int depth_ = 0; // of the holder the least-cost search fills, from the top of MinCost
    mutable std::deque<Reach> reaches_;
    mutable std::vector<const Reach*> reachAt_;
};
