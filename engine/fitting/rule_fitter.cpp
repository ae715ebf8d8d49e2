#include "engine/fitting/rule_fitter.h"

#include <algorithm>

#include "engine/condition/group_key.h"
#include "engine/fitting/fixed_placement.h"
#include "engine/fitting/slot_check.h"

DecorationFitter::DecorationFitter(const SkillTable& table, const CSearchCondition& condition)
    : table_(table), count_(table.count), fixed_(condition), hasFixed_(fixed_.Any()) {
    for (int k = 0; k < count_; ++k) {
        tracked_[k] = (table.Threshold(k) >= 0) != table.excluded[k];
        floors_[k].Build(table.decoPoints[k]);
    }
    // Room for the fillings of a few sets of needy skills; a search seldom meets more.
    fillings_.reserve(static_cast<std::size_t>(4 * kMaxFillings));
}

bool DecorationFitter::FitDecorations(const FitRequest& request, DecoBlock& out) {
    ++evaluations_;
    BeginEvaluation(request);
    if (!ComputeNeeds()) {
        return false;
    }
    if (!request.skipSlotCheck && !PassesSlotCheck(request)) {
        return false;
    }
    ClearLists();
    const bool fitted = doublingCount_ == 0 ? NormalFit() : DoublingFit();
    if (!fitted || !SettleExcludedSkills() || !ReachesEveryChosenSkill()) {
        return false;
    }
    for (int position = 0; position < kPositionCount; ++position) {
        std::copy_n(holders_[position].decos, 3, out.decos[position]);
    }
    return true;
}

void DecorationFitter::BeginEvaluation(const FitRequest& request) {
    doublingCount_ =
        static_cast<int>(std::count(request.keys, request.keys + kSlotCount, kDoublingKey));
    factor_ = 1 + doublingCount_;
    freeSlots_ = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        holders_[slot].Init(KeySlots(request.keys[slot]), slot);
        freeSlots_ += holders_[slot].slots;
    }
    // The weapon counts with the slots its holder gets, so that the refine, which passes only the
    // weapon's free slots, does not promise slots that are taken.
    holders_[kWeaponPosition].Init(std::clamp(request.weaponSlots, 0, 3), kWeaponPosition);
    freeSlots_ += holders_[kWeaponPosition].slots;

    SumKeyPoints(request);
    std::fill_n(fixedPoints_, count_, 0);
    if (request.placeFixed && hasFixed_) {
        PlaceFixedDecorations();
    }
}

// A doubling piece counts what the body key holds.
void DecorationFitter::SumKeyPoints(const FitRequest& request) {
    const GroupKey body = request.keys[kBody];
    const auto pointsOf = [body](GroupKey key, int k) {
        const GroupKey counted = key == kDoublingKey ? body : key;
        return counted == kDoublingKey ? 0 : KeyPoints(counted, k);
    };
    if (!std::equal(request.keys, request.keys + kLeg, prefixKeys_)) {
        std::copy_n(request.keys, kLeg, prefixKeys_);
        for (int k = 0; k < count_; ++k) {
            prefixPoints_[k] = 0;
            for (int slot = 0; slot < kLeg; ++slot) {
                prefixPoints_[k] += pointsOf(request.keys[slot], k);
            }
        }
    }
    for (int k = 0; k < count_; ++k) {
        keyPoints_[k] = prefixPoints_[k] + pointsOf(request.keys[kLeg], k) + request.extraPoints[k];
    }
}

// A fixed decoration counts with its own points, whatever decoration the skill table kept for its
// size.
void DecorationFitter::PlaceFixedDecorations() {
    freeSlots_ -=
        ::PlaceFixedDecorations(fixed_, holders_, factor_, table_.chosenIds, count_, fixedPoints_);
}

bool DecorationFitter::ComputeNeeds() {
    for (int k = 0; k < count_; ++k) {
        const int points = keyPoints_[k] + fixedPoints_[k];
        const int threshold = table_.Threshold(k);
        if (threshold >= 0) {
            need_[k] = table_.excluded[k] ? 0 : threshold - points;
        } else if (table_.excluded[k]) {
            // Points that lift the total out of the minus level.
            need_[k] = threshold < points ? threshold - points : threshold - points + 1;
        } else {
            // A minus level is never reached by adding decorations.
            if (points > threshold) {
                return false;
            }
            need_[k] = 0;
        }
        if (need_[k] > 0 && !table_.HasAnyDeco(k)) {
            return false;
        }
    }
    return true;
}

// Assumes a slot is worth at most two points; it rejects most combinations before any
// decoration is chosen.
bool DecorationFitter::PassesSlotCheck(const FitRequest& request) const {
    const int bodySlots = KeySlots(request.keys[kBody]);
    int missing = 0;
    for (int k = 0; k < count_; ++k) {
        missing += std::max(need_[k], 0);
    }
    return kSlotCheckPointsPerSlot * (freeSlots_ + doublingCount_ * bodySlots) >= missing;
}

int DecorationFitter::PlacedPoints(int skill) const {
    const int id = table_.chosenIds[skill];
    int total = 0;
    for (const SocketHolder& holder : holders_) {
        const int times = holder.position == kBody ? factor_ : 1;
        for (const CDecoData* deco : holder.decos) {
            if (deco != nullptr) {
                total += times * deco->PointsFor(id);
            }
        }
    }
    return total;
}

bool DecorationFitter::SettleExcludedSkills() {
    for (int k = 0; k < count_; ++k) {
        if (!table_.excluded[k]) {
            continue;
        }
        const int total = keyPoints_[k] + PlacedPoints(k);
        const int threshold = table_.Threshold(k);
        if (threshold >= 0) {
            if (total >= threshold) {
                return false;
            }
            continue;
        }
        need_[k] = threshold - total + 1;
        if (!NormalFit()) {
            return false;
        }
    }
    return true;
}

// The needs are estimates: a doubling fitting fills body slots without counting minus points,
// and decorations that later land in the body count once more per doubling piece. So before a
// combination counts, every chosen skill is recounted as the set's skill summary will count it.
bool DecorationFitter::ReachesEveryChosenSkill() const {
    for (int k = 0; k < count_; ++k) {
        const int total = keyPoints_[k] + PlacedPoints(k);
        if (table_.chosenRows[k]->IsReached(total) == table_.excluded[k]) {
            return false;
        }
    }
    return true;
}

bool DecorationFitter::AnyNeed() const {
    for (int k = 0; k < count_; ++k) {
        if (tracked_[k] && need_[k] > 0) {
            return true;
        }
    }
    return false;
}
