#include "engine/search/hit_expansion.h"

#include <algorithm>
#include <memory>

#include "engine/search/rank_value.h"
#include "engine/tables/saturating.h"

HitExpansion::HitExpansion(SearchProgress& progress, SearchOutcome& outcome,
                           const CSearchCondition& condition,
                           const CandidateList (&candidates)[kSlotCount])
    : progress_(progress), outcome_(outcome), candidates_(candidates),
      minDefense_(condition.minDefense), maxDisplay_(condition.maxDisplay),
      maxCalc_(condition.maxCalc), weaponSlots_(condition.weaponSlots),
      countsRejections_(!condition.exactFitting && condition.rankKey == RankKey::kNone),
      condition_(condition) {}

bool HitExpansion::Expand(const SearchHit& hit) {
    hit_ = &hit;
    const std::size_t blocks = std::max<std::size_t>(hit.variants.size(), 1);
    arranged_.assign(blocks, DecoBlock{});
    isArranged_.assign(blocks, false);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        members_[slot].clear();
        for (CEquipData* piece : candidates_[slot]) {
            if (piece->groupKey == hit.keys[slot]) {
                members_[slot].push_back(piece);
            }
        }
    }
    std::uint64_t inner = 1;
    std::int64_t best = 0;
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        inner_[slot] = inner;
        bestBelow_[slot] = best;
        inner = SaturatingMul(inner, members_[slot].size());
        best += members_[slot].empty() ? 0 : members_[slot].front()->EffectiveDefense();
    }
    rejected_ = 0;
    if (ranked_ != nullptr) {
        PrepareRanking();
    }
    return Loop(0, 0, 0);
}

void HitExpansion::PrepareRanking() {
    const RankKey key = condition_.rankKey;
    std::int64_t best = 0;
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        bestValueBelow_[slot] = best;
        values_[slot].clear();
        for (const CEquipData* piece : members_[slot]) {
            values_[slot].push_back(
                PieceRankValue(*piece, key, key == RankKey::kOwned && IsOwned(piece, condition_)));
        }
        if (!values_[slot].empty()) {
            best += *std::max_element(values_[slot].begin(), values_[slot].end());
        }
    }
    // A hit of the rule-based fitting, or one met for every doubling profile, has one block of
    // decorations; otherwise the weapon's slots are the most free slots they leave.
    decorationBound_ = key == RankKey::kFreeSlots ? weaponSlots_ : 0;
    if (key == RankKey::kFreeSlots && hit_->variants.empty()) {
        if (const DecoBlock* decos = DecorationsOfSet(); decos != nullptr) {
            decorationBound_ = DecorationRankValue(*decos, key, weaponSlots_);
        }
    }
}

// Members are in candidate order, defence descending: once a piece is too weak even with the
// best pieces of the levels under it, so is every piece after it. The rule-based search in the
// found order rejects all their combinations at once, counted exactly as one by one; the others
// never build them, so that the calculation limit bounds only work done.
//
// A ranked search also leaves out a member whose best sets could not enter the ranked list.
bool HitExpansion::Loop(int level, std::int64_t defense, std::int64_t value) {
    const CandidateList& members = members_[level];
    const std::size_t count = members.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t reached = defense + members[i]->EffectiveDefense();
        if (reached + bestBelow_[level] < minDefense_) {
            return !countsRejections_ || Reject(SaturatingMul(count - i, inner_[level]));
        }
        std::int64_t valued = value;
        if (ranked_ != nullptr) {
            valued += values_[level][i];
            if (!ranked_->MayEnter(valued + bestValueBelow_[level] + decorationBound_,
                                   reached + bestBelow_[level])) {
                NotePassedOver();
                continue;
            }
        }
        pieces_[level] = members[i];
        if (level < kSlotCount - 1) {
            if (!Loop(level + 1, reached, valued)) {
                return false;
            }
        } else if (!AddSet(reached, valued)) {
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

// The hit's decorations, or those of the variant matching the set's doubling pieces; null when
// the set's variant was not met.
const DecoBlock* HitExpansion::DecorationsOfSet() {
    if (exact_ == nullptr) {
        return &hit_->decos;
    }
    std::size_t index = 0;
    const HitVariant* variant = nullptr;
    if (!hit_->variants.empty()) {
        const DoublingProfiles& doubling = exact_->Doubling();
        for (index = 0; index < hit_->variants.size(); ++index) {
            const HitVariant& candidate = hit_->variants[index];
            bool matches = true;
            for (int slot = 0; slot < kSlotCount && matches; ++slot) {
                matches = candidate.profile[slot] == HitVariant::kAnyProfile ||
                          candidate.profile[slot] == doubling.IndexOf(slot, *pieces_[slot]);
            }
            if (matches) {
                variant = &candidate;
                break;
            }
        }
        if (variant == nullptr) {
            return nullptr;
        }
    }
    if (!isArranged_[index]) {
        exact_->Arrange(*hit_, variant, arranged_[index]);
        isArranged_[index] = true;
    }
    return &arranged_[index];
}

bool HitExpansion::AddSet(std::int64_t defense, std::int64_t value) {
    if (!Pump()) {
        return false;
    }
    const DecoBlock* decos = DecorationsOfSet();
    if (decos == nullptr) {
        return true;
    }
    if (ranked_ != nullptr) {
        return OfferSet(*decos, defense, value);
    }
    // A full list ends at the next set it cannot take: only then is it known to be cut.
    if (listFull_) {
        outcome_.NoteStop(SearchStop::kDisplayLimit);
        return false;
    }
    auto set = std::make_unique<CEquipSet>();
    std::copy_n(pieces_, kSlotCount, set->pieces);
    std::copy_n(&decos->decos[0][0], kPositionCount * 3, &set->decos[0][0]);
    set->weaponSlots = weaponSlots_;
    outcome_.results.push_back(std::move(set));
    listFull_ = outcome_.results.size() >= maxDisplay_;
    return true;
}

// A ranked list has no end to reach: a set better than its worst one replaces it.
bool HitExpansion::OfferSet(const DecoBlock& decos, std::int64_t defense, std::int64_t value) {
    const std::int64_t key = value + DecorationRankValue(decos, condition_.rankKey, weaponSlots_);
    if (!ranked_->MayEnter(key, defense)) {
        ranked_->NoteCut();
        return true;
    }
    auto set = std::make_unique<CEquipSet>();
    std::copy_n(pieces_, kSlotCount, set->pieces);
    std::copy_n(&decos.decos[0][0], kPositionCount * 3, &set->decos[0][0]);
    set->weaponSlots = weaponSlots_;
    ranked_->Offer(key, defense, std::move(set));
    return true;
}
