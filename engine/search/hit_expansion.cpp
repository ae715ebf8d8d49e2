#include "engine/search/hit_expansion.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <memory>

#include "engine/search/kept_set_decorations.h"
#include "engine/search/rank_value.h"
#include "engine/tables/saturating.h"

HitExpansion::HitExpansion(SearchProgress& progress, SearchOutcome& outcome,
                           const CSearchCondition& condition,
                           const CandidateList (&candidates)[kSlotCount])
    : progress_(progress), outcome_(outcome), candidates_(candidates),
      minDefense_(condition.minDefense), maxDisplay_(condition.maxDisplay),
      maxCalc_(condition.maxCalc), weaponSlots_(condition.weaponSlots),
      countsRejections_(!condition.exactFitting && condition.rankKey == RankKey::kNone),
      defersDecorations_(DefersDecorations(condition)), condition_(condition) {}

bool HitExpansion::Expand(const SearchHit& hit) {
    hit_ = &hit;
    const std::size_t blocks = std::max<std::size_t>(hit.variants.size(), 1);
    firstTag_ += arranged_.size();
    arranged_.assign(blocks, DecoBlock{});
    isArranged_.assign(blocks, false);
    if (ranked_ != nullptr) {
        // The blocks of the hit before are done with: their arrangements' numbers may change.
        ranked_->ForgetDroppedArrangements();
        rankedBlocks_.assign(blocks, RankedBlock{});
    }
    if (!indexed_) {
        IndexMembers();
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto found = membersOf_[slot].find(hit.keys[slot]);
        members_[slot] = found == membersOf_[slot].end() ? &noMembers_ : &found->second;
    }
    std::uint64_t inner = 1;
    std::int64_t best = 0;
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        inner_[slot] = inner;
        bestBelow_[slot] = best;
        const CandidateList& members = members_[slot]->pieces;
        inner = SaturatingMul(inner, members.size());
        best += members.empty() ? 0 : members.front()->EffectiveDefense();
    }
    rejected_ = 0;
    NoteDoublingProfiles();
    OpenAllVariants();
    if (ranked_ != nullptr) {
        if (!OpenVariantsThatMayEnter(best)) {
            return true;
        }
        PrepareRanking();
    }
    return Loop<0>(0, 0);
}

// Each group's members in candidate order, found once for all the hits: a search may expand
// thousands of them, and looking through every candidate for each cost more than its sets.
void HitExpansion::IndexMembers() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (CEquipData* piece : candidates_[slot]) {
            membersOf_[slot][piece->groupKey].pieces.push_back(piece);
        }
    }
    if (ranked_ != nullptr) {
        ValueMembers();
    }
    indexed_ = true;
}

void HitExpansion::ValueMembers() {
    const RankKey key = condition_.rankKey;
    for (auto& slotMembers : membersOf_) {
        for (auto& [groupKey, members] : slotMembers) {
            std::vector<std::int64_t>& values = members.values;
            for (const CEquipData* piece : members.pieces) {
                values.push_back(PieceRankValue(
                    *piece, key, key == RankKey::kOwned && IsOwned(piece, condition_)));
            }
            std::vector<std::int64_t>& bestFrom = members.bestFrom;
            bestFrom.resize(values.size());
            for (std::size_t i = values.size(); i-- > 0;) {
                bestFrom[i] =
                    i + 1 < values.size() ? std::max(values[i], bestFrom[i + 1]) : values[i];
            }
        }
    }
}

// A hit met only for some doubling profiles matches each set against them: the profile of each
// member is looked up once for all the sets of all the hits it is part of.
void HitExpansion::NoteDoublingProfiles() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        profiles_[slot] = &noProfiles_;
        const bool told = exact_ != nullptr &&
                          std::any_of(hit_->variants.begin(), hit_->variants.end(),
                                      [slot](const HitVariant& variant) {
                                          return variant.profile[slot] != HitVariant::kAnyProfile;
                                      });
        if (!told) {
            continue;
        }
        Members& members = *members_[slot];
        if (members.profiles.size() != members.pieces.size()) {
            for (const CEquipData* piece : members.pieces) {
                members.profiles.push_back(exact_->Doubling().IndexOf(slot, *piece));
            }
        }
        profiles_[slot] = &members.profiles;
    }
}

void HitExpansion::OpenAllVariants() {
    const std::size_t count = hit_->variants.size();
    words_ = (count + 63) / 64;
    std::vector<std::uint64_t>& all = openVariants_[0];
    all.assign(words_, ~std::uint64_t{0});
    if (count % 64 != 0) {
        all.back() = (std::uint64_t{1} << (count % 64)) - 1;
    }
    open_[0] = all.data();
    for (int level = 0; level < kSlotCount; ++level) {
        openVariants_[level + 1].resize(words_);
        if (!profiles_[level]->empty()) {
            MatchVariants(level);
        }
    }
}

void HitExpansion::MatchVariants(int level) {
    const std::vector<int>& profiles = *profiles_[level];
    std::vector<std::uint64_t>& matches = matches_[level];
    matches.assign(profiles.size() * words_, 0);
    for (std::size_t index = 0; index < hit_->variants.size(); ++index) {
        const std::uint16_t wanted = hit_->variants[index].profile[level];
        const std::uint64_t bit = std::uint64_t{1} << (index % 64);
        std::uint64_t* word = matches.data() + index / 64;
        for (const int profile : profiles) {
            if (wanted == HitVariant::kAnyProfile || wanted == profile) {
                *word |= bit;
            }
            word += words_;
        }
    }
}

// Leaves open only the variants whose sets, with at most `defense`, may enter the ranked list, so
// that the others are neither arranged nor offered; false when none may.
bool HitExpansion::OpenVariantsThatMayEnter(std::int64_t defense) {
    if (gate_ == nullptr) {
        return true;
    }
    if (hit_->variants.empty()) {
        if (gate_->MayEnter(*hit_, defense)) {
            return true;
        }
        ranked_->NoteCut();
        return false;
    }
    std::uint64_t* open = openVariants_[0].data();
    // The pieces of a variant's profiles may all be too weak for the minimum defence.
    if (gate_->ShutVariants(*hit_, defense, open)) {
        ranked_->NoteMaybeCut();
    }
    return std::any_of(open, open + words_, [](std::uint64_t word) { return word != 0; });
}

// Keeps the variants still open under the level's member; false when none is, so that no set
// of a variant never met is built. The first one left at the last level is the set's own: the
// variants of a hit differ in their profiles, so at most one matches all five pieces.
template <int Level> bool HitExpansion::NarrowVariants(std::size_t member) {
    const std::uint64_t* open = open_[Level];
    if (profiles_[Level]->empty()) {
        open_[Level + 1] = open;
        return true;
    }
    const std::uint64_t* matches = matches_[Level].data() + member * words_;
    std::uint64_t* narrowed = openVariants_[Level + 1].data();
    std::uint64_t any = 0;
    for (std::size_t word = 0; word < words_; ++word) {
        narrowed[word] = open[word] & matches[word];
        any |= narrowed[word];
    }
    open_[Level + 1] = narrowed;
    return any != 0;
}

void HitExpansion::PrepareRanking() {
    std::int64_t best = 0;
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        bestValueBelow_[slot] = best;
        const std::vector<std::int64_t>& bestFrom = members_[slot]->bestFrom;
        if (!bestFrom.empty()) {
            best += bestFrom.front();
        }
    }
    decorationBound_ = condition_.rankKey == RankKey::kFreeSlots ? MostFreeSlotsOfDecorations() : 0;
}

// What the weapon's slots less the decorations leave at most: the one block of a hit of the
// rule-based fitting or of one met for every doubling profile, else the best of its open
// variants'.
std::int64_t HitExpansion::MostFreeSlotsOfDecorations() {
    const RankKey key = condition_.rankKey;
    if (exact_ == nullptr || hit_->variants.empty()) {
        return DecorationRankValue(DecorationsOfSet(), key, weaponSlots_);
    }
    std::int64_t most = std::numeric_limits<std::int64_t>::min();
    const std::uint64_t* open = openVariants_[0].data();
    for (std::size_t index = 0; index < hit_->variants.size(); ++index) {
        if ((open[index / 64] >> (index % 64) & 1) != 0) {
            most =
                std::max(most, DecorationRankValue(ArrangedVariant(index, &hit_->variants[index]),
                                                   key, weaponSlots_));
        }
    }
    return most;
}

const DecoBlock& HitExpansion::ArrangedVariant(std::size_t index, const HitVariant* variant) {
    if (!isArranged_[index]) {
        exact_->Arrange(*hit_, variant, arranged_[index]);
        isArranged_[index] = true;
    }
    return arranged_[index];
}

// Members are in candidate order, defence descending: once a piece is too weak even with the
// best pieces of the levels under it, so is every piece after it. The rule-based search in the
// found order rejects all their combinations at once, counted exactly as one by one; the others
// never build them, so that the calculation limit bounds only work done.
//
// A ranked search also leaves out a member whose best sets could not enter the ranked list.
template <int Level> bool HitExpansion::Loop(std::int64_t defense, std::int64_t value) {
    const Members& group = *members_[Level];
    const std::size_t count = group.pieces.size();
    const std::int64_t below = bestBelow_[Level];
    const std::int64_t most = value + bestValueBelow_[Level] + decorationBound_;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t reached = defense + group.pieces[i]->EffectiveDefense();
        if (reached + below < minDefense_) {
            return !countsRejections_ || Reject(SaturatingMul(count - i, inner_[Level]));
        }
        if (ranked_ != nullptr) {
            // The members from here on bring no more defence and at most bestFrom in value.
            if (!ranked_->MayEnter(most + group.bestFrom[i], reached + below)) {
                NotePassedOver();
                return true;
            }
            if (!ranked_->MayEnter(most + group.values[i], reached + below)) {
                NotePassedOver();
                continue;
            }
        }
        if (!NarrowVariants<Level>(i)) {
            continue;
        }
        pieces_[Level] = group.pieces[i];
        const std::int64_t valued = ranked_ != nullptr ? value + group.values[i] : value;
        if constexpr (Level < kSlotCount - 1) {
            if (!Loop<Level + 1>(reached, valued)) {
                return false;
            }
        } else if (!Pump()) {
            return false;
        } else if (ranked_ != nullptr) {
            OfferSet(reached, valued);
        } else if (!AddSet()) {
            return false;
        }
    }
    return true;
}

// The member passed over and the strongest members under it reach the minimum defence, so they
// are a set, unless the hit holds only some doubling profiles: that set's may not be met.
void HitExpansion::NotePassedOver() {
    if (hit_->variants.empty()) {
        ranked_->NoteCut();
    } else {
        ranked_->NoteMaybeCut();
    }
}

// True unless an abort was requested during the expansion; it stops at once, as the expansion of
// a search that found many hits runs long and fills memory with every set.
bool HitExpansion::Pump() {
    progress_.Pump();
    if (progress_.AbortRequested()) {
        outcome_.NoteStop(SearchStop::kAborted);
        return false;
    }
    return true;
}

bool HitExpansion::Reject(std::uint64_t combinations) {
    if (!Pump()) {
        return false;
    }
    rejected_ = SaturatingAdd(rejected_, combinations);
    if (rejected_ > maxCalc_) {
        outcome_.NoteStop(SearchStop::kCalcLimit);
        return false;
    }
    return true;
}

// The index among the hit's blocks of decorations of the set in hand: its variant's, or the
// one block of a hit without variants.
std::size_t HitExpansion::BlockOfSet() const {
    if (hit_->variants.empty()) {
        return 0;
    }
    const std::uint64_t* open = open_[kSlotCount];
    std::size_t word = 0;
    while (open[word] == 0) {
        ++word;
    }
    return word * 64 + static_cast<std::size_t>(std::countr_zero(open[word]));
}

// The hit's decorations, or those of the variant matching the set's doubling pieces. A search
// that defers the decorations gets none yet.
const DecoBlock& HitExpansion::DecorationsOfSet() {
    if (exact_ == nullptr) {
        return hit_->decos;
    }
    static const DecoBlock kNoDecorations;
    if (defersDecorations_) {
        return kNoDecorations;
    }
    const std::size_t index = BlockOfSet();
    return ArrangedVariant(index, hit_->variants.empty() ? nullptr : &hit_->variants[index]);
}

bool HitExpansion::AddSet() {
    // A full list ends at the next set it cannot take: only then is it known to be cut.
    if (listFull_) {
        outcome_.NoteStop(SearchStop::kDisplayLimit);
        return false;
    }
    outcome_.results.push_back(MakeSet(DecorationsOfSet()));
    listFull_ = outcome_.results.size() >= maxDisplay_;
    return true;
}

// A ranked list has no end to reach: every set that may still enter it is let in. The sets of
// a block share what their decorations add to the key and, once one is let in, their
// arrangement's place in the list. Only the first set of a block asks before it is offered, so
// that no arrangement is kept for a set shut out; the list asks for the others.
void HitExpansion::OfferSet(std::int64_t defense, std::int64_t value) {
    RankedBlock& block = rankedBlocks_[BlockOfSet()];
    if (!block.valued) {
        block.value = DecorationRankValue(DecorationsOfSet(), condition_.rankKey, weaponSlots_);
        block.valued = true;
    }
    const std::int64_t key = value + block.value;
    if (block.arrangement == RankedBlock::kUnkept) {
        if (!ranked_->MayEnter(key, defense)) {
            ranked_->NoteCut();
            return;
        }
        block.arrangement = defersDecorations_ ? RankedSets::kNoArrangement
                                               : ranked_->KeepArrangement(DecorationsOfSet());
    }
    ranked_->Admit(key, defense, pieces_, block.arrangement, weaponSlots_);
}

// The set of the pieces in hand, with `decos`, tagged by its block among those of every hit so
// far; past the tags' range, untagged.
std::unique_ptr<CEquipSet> HitExpansion::MakeSet(const DecoBlock& decos) const {
    auto set = std::make_unique<CEquipSet>();
    FillSet(*set, pieces_, decos, weaponSlots_);
    const std::uint64_t tag = firstTag_ + BlockOfSet();
    set->decorationsTag = tag <= UINT32_MAX ? static_cast<std::uint32_t>(tag) : 0;
    return set;
}
