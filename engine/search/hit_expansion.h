#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/search_hit.h"
#include "engine/search/rank_hit_gate.h"
#include "engine/search/ranked_sets.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "engine/sets/equip_set.h"

// Phase 2 of a search: turns each hit into the armour sets its groups stand for, appending them
// to the engine's results until a limit is reached.
class HitExpansion {
public:
    HitExpansion(SearchProgress& progress, SearchOutcome& outcome,
                 const CSearchCondition& condition, const CandidateList (&candidates)[kSlotCount]);
    // It points into its own lists of members.
    HitExpansion(const HitExpansion&) = delete;
    HitExpansion& operator=(const HitExpansion&) = delete;

    // Hits of the exact mode: their decorations are found when their first set is listed, and
    // their doubling pieces are told apart by profile.
    void UseExactJudge(ExactJudge* judge) { exact_ = judge; }
    // A ranked search offers its sets to `ranked` instead of listing them, and leaves out the
    // members that cannot bring a set into it; `gate`, if any, the variants.
    void UseRanking(RankedSets* ranked, RankHitGate* gate) {
        ranked_ = ranked;
        gate_ = gate;
    }
    // False when the search must not expand further hits.
    bool Expand(const SearchHit& hit);

private:
    // Defence sums are 64-bit: five table values may not add up within an int.
    template <int Level> bool Loop(std::int64_t defense, std::int64_t value);
    bool Pump();
    void NotePassedOver();
    bool Reject(std::uint64_t combinations);
    bool AddSet();
    void OfferSet(std::int64_t defense, std::int64_t value);
    std::unique_ptr<CEquipSet> MakeSet(const DecoBlock& decos) const;
    void IndexMembers();
    void ValueMembers();
    void NoteDoublingProfiles();
    void PrepareRanking();
    std::int64_t MostFreeSlotsOfDecorations();
    const DecoBlock& ArrangedVariant(std::size_t index, const HitVariant* variant);
    void OpenAllVariants();
    bool OpenVariantsThatMayEnter(std::int64_t defense);
    template <int Level> bool NarrowVariants(std::size_t member);
    void MatchVariants(int level);
    std::size_t BlockOfSet() const;
    const DecoBlock& DecorationsOfSet();

    SearchProgress& progress_;
    SearchOutcome& outcome_;
    const CandidateList (&candidates_)[kSlotCount];
    const std::int64_t minDefense_;
    const std::uint32_t maxDisplay_;
    const std::uint64_t maxCalc_;
    const int weaponSlots_;
    // Only the rule-based search in the found order counts the sets too weak to list against the
    // calculation limit.
    const bool countsRejections_;
    // Only the sets kept get their decorations, at the end: see kept_set_decorations.h.
    const bool defersDecorations_;
    const CSearchCondition& condition_;

    ExactJudge* exact_ = nullptr;
    RankedSets* ranked_ = nullptr;
    RankHitGate* gate_ = nullptr;
    std::int64_t bestValueBelow_[kSlotCount] = {}; // the most the levels under one can add
    std::int64_t decorationBound_ = 0;             // the most the decorations can add
    const SearchHit* hit_ = nullptr;
    // Decorations of the current hit, by variant (one when it has none), found on first use.
    std::vector<DecoBlock> arranged_;
    std::vector<bool> isArranged_;
    // The decorations tag of the hit's first block: the blocks of the hits before took the ones
    // below.
    std::uint64_t firstTag_ = 1;
    // What the sets of each block bring to a ranked list, found on first use.
    struct RankedBlock {
        static constexpr std::uint32_t kUnkept = ~std::uint32_t{0};
        bool valued = false;
        std::int64_t value = 0; // what the decorations add to the key
        std::uint32_t arrangement = kUnkept;
    };
    std::vector<RankedBlock> rankedBlocks_;
    // The pieces of a group in candidate order and, in a ranked search, what each brings to the
    // key: found once for all the hits of the group.
    struct Members {
        CandidateList pieces;
        std::vector<std::int64_t> values;
        // The best value of the pieces from each one on: pieces come by defence, not by value.
        std::vector<std::int64_t> bestFrom;
        // The doubling profile of each piece, found the first time a hit's variants tell the
        // pieces apart.
        std::vector<int> profiles;
    };
    std::unordered_map<GroupKey, Members> membersOf_[kSlotCount]; // by group key
    bool indexed_ = false;
    Members noMembers_;
    Members* members_[kSlotCount] = {};       // the hit's, in membersOf_ or noMembers_
    std::uint64_t inner_[kSlotCount] = {};    // combinations under one piece of each level
    std::int64_t bestBelow_[kSlotCount] = {}; // highest defence the levels under one can add
    CEquipData* pieces_[kSlotCount] = {};
    // The doubling profiles of each level's members where the hit's variants tell them apart,
    // else none.
    const std::vector<int>* profiles_[kSlotCount] = {};
    const std::vector<int> noProfiles_;
    // The variants that the pieces chosen above each level still match, a bit for each by index
    // in `words_` words; a level whose members the variants do not tell apart shares the bits of
    // the level above.
    std::size_t words_ = 0;
    std::vector<std::uint64_t> openVariants_[kSlotCount + 1];
    const std::uint64_t* open_[kSlotCount + 1] = {};
    // The variants each member of a level that tells them apart matches, in `words_` words each:
    // the levels under the first are met again under every piece above.
    std::vector<std::uint64_t> matches_[kSlotCount];
    std::uint64_t rejected_ = 0;
    bool listFull_ = false;
};
