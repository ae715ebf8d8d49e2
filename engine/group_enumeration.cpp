#include "engine/group_enumeration.h"

#include <algorithm>

#include "engine/group_key.h"
#include "engine/saturating.h"

namespace {
constexpr int kPumpLevel = 2; // the third loop: often enough to stay responsive, cheap enough
} // namespace

GroupEnumeration::GroupEnumeration(CSkillSearch& search, const CSearchCondition& condition,
                                   const GroupList (&groups)[kSlotCount], DecorationFitter& fitter,
                                   SearchHits& hits)
    : search_(search), groups_(groups), fitter_(fitter), hits_(hits),
      minDefense_(condition.minDefense), maxDisplay_(condition.maxDisplay),
      maxCalc_(condition.maxCalc) {
    std::uint64_t size = 1;
    for (int level = kSlotCount - 1; level >= 0; --level) {
        below_[level] = size;
        size = SaturatingMul(size, groups[level].size());
    }
    request_.weaponSlots = condition.weaponSlots;
    sets_[0] = 1;
}

void GroupEnumeration::Run() {
    Descend<0>();
}

template <int Level> bool GroupEnumeration::Descend() {
    if constexpr (Level == kSlotCount - 1) {
        return Leaves();
    } else {
        std::uint32_t lastFailed = kNoFailedKey;
        for (const CandidateGroup& group : groups_[Level]) {
            if (Level == kPumpLevel && search_.owner != nullptr) {
                search_.owner->PumpMessages();
            }
            if (!lowDefenseSeen_ && AreEquivalent(group.key, lastFailed)) {
                search_.visited = SaturatingAdd(search_.visited, below_[Level]);
                continue;
            }
            request_.keys[Level] = group.key;
            defense_[Level + 1] = defense_[Level] + group.bestDefense;
            sets_[Level + 1] = SaturatingMul(sets_[Level], static_cast<std::uint64_t>(group.count));
            const std::uint32_t hitsBefore = search_.hitCount;
            if (!Descend<Level + 1>()) {
                return false;
            }
            if (search_.hitCount == hitsBefore) {
                lastFailed = group.key;
            }
        }
        return true;
    }
}

bool GroupEnumeration::Leaves() {
    constexpr int kLeaf = kSlotCount - 1;
    std::uint32_t lastFailed = kNoFailedKey;
    DecoBlock decos;
    for (const CandidateGroup& group : groups_[kLeaf]) {
        ++search_.visited;
        if (search_.abortRequested) {
            return false;
        }
        if (defense_[kLeaf] + group.bestDefense < minDefense_) {
            lowDefenseSeen_ = true;
            continue;
        }
        if (!lowDefenseSeen_ && AreEquivalent(group.key, lastFailed)) {
            continue;
        }
        request_.keys[kLeaf] = group.key;
        if (fitter_.FitDecorations(request_, decos)) {
            if (!RecordHit(decos,
                           SaturatingMul(sets_[kLeaf], static_cast<std::uint64_t>(group.count)))) {
                return false;
            }
        } else {
            lowDefenseSeen_ = false;
            lastFailed = group.key;
        }
    }
    return true;
}

// The hit array grows as hits come instead of being sized for the limit up front: the default
// limit of a million hits would reserve well over a hundred megabytes for searches that find few.
bool GroupEnumeration::RecordHit(const DecoBlock& decos, std::uint64_t sets) {
    SearchHit& hit = hits_.emplace_back();
    std::copy_n(request_.keys, kSlotCount, hit.keys);
    hit.decos = decos;
    ++search_.hitCount;
    search_.setCount = SaturatingAdd(search_.setCount, sets);
    if (search_.hitCount >= maxDisplay_) {
        return false;
    }
    if (minDefense_ == 0 && search_.setCount >= maxDisplay_) {
        return false;
    }
    return hits_.size() < maxCalc_;
}
