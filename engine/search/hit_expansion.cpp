#include "engine/search/hit_expansion.h"

#include <algorithm>
#include <memory>

#include "engine/tables/saturating.h"

HitExpansion::HitExpansion(CSkillSearch& search, const CSearchCondition& condition,
                           const CandidateList (&candidates)[kSlotCount])
    : search_(search), candidates_(candidates), minDefense_(condition.minDefense),
      maxDisplay_(condition.maxDisplay), maxCalc_(condition.maxCalc),
      weaponSlots_(condition.weaponSlots) {}

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
    return Loop(0, 0);
}

// Members are in candidate order, defence descending: once a piece is too weak even with the
// best pieces of the levels under it, so is every piece after it, and all their combinations are
// rejected at once, counted exactly as one by one.
bool HitExpansion::Loop(int level, std::int64_t defense) {
    const CandidateList& members = members_[level];
    const std::size_t count = members.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t reached = defense + members[i]->EffectiveDefense();
        if (reached + bestBelow_[level] < minDefense_) {
            return Reject(SaturatingMul(count - i, inner_[level]));
        }
        pieces_[level] = members[i];
        if (level < kSlotCount - 1) {
            if (!Loop(level + 1, reached)) {
                return false;
            }
        } else if (!AddSet()) {
            return false;
        }
    }
    return true;
}

// True unless an abort was requested during the expansion; it stops at once, as the expansion of
// a search that found many hits runs long and fills memory with every set.
bool HitExpansion::Pump() {
    if (search_.owner != nullptr) {
        search_.owner->PumpMessages();
    }
    if (search_.abortRequested != 0) {
        search_.NoteStop(SearchStop::kAborted);
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
        search_.NoteStop(SearchStop::kCalcLimit);
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

bool HitExpansion::AddSet() {
    if (!Pump()) {
        return false;
    }
    const DecoBlock* decos = DecorationsOfSet();
    if (decos == nullptr) {
        return true;
    }
    // A full list ends at the next set it cannot take: only then is it known to be cut.
    if (listFull_) {
        search_.NoteStop(SearchStop::kDisplayLimit);
        return false;
    }
    auto set = std::make_unique<CEquipSet>();
    std::copy_n(pieces_, kSlotCount, set->pieces);
    std::copy_n(&decos->decos[0][0], kPositionCount * 3, &set->decos[0][0]);
    set->weaponSlots = weaponSlots_;
    search_.results.push_back(std::move(set));
    listFull_ = search_.results.size() >= maxDisplay_;
    return true;
}
