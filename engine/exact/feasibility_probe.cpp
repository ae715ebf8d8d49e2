#include "engine/exact/feasibility_probe.h"

#include <algorithm>

#include "engine/condition/candidates.h"
#include "engine/exact/undominated.h"

namespace {

constexpr int kOrder[kSlotCount] = {kBody, kHead, kArm, kWaist, kLeg};
constexpr int kNone = -(1 << 20);
constexpr long long kAbortCheckEvery = 1024;

} // namespace

FeasibilityProbe::FeasibilityProbe(const CSearchCondition& condition,
                                   const CEquipDatabase& database,
                                   const std::vector<TrackedSkill>& skills,
                                   const std::atomic<bool>* abort)
    : skills_(skills), count_(static_cast<int>(skills.size())),
      fitter_(skills.data(), count_, ExactDecorations(condition, database, skills)),
      combination_(condition, fitter_), abort_(abort), minDefense_(condition.minDefense) {
    const int weaponSlots = std::clamp(condition.weaponSlots, 0, 3);
    start_.slots = weaponSlots;
    for (int k = 0; k < count_; ++k) {
        goal_[k] = skills_[k].direction * skills_[k].bound;
        start_.with[k] = fitter_.BestGain(k, weaponSlots);
    }
    int fixedGain[kMaxTrackedSkills] = {};
    bounded_ = FixedDecorationGains(condition, skills_, fixedGain);
    for (int k = 0; k < count_; ++k) {
        start_.points[k] += fixedGain[k];
        start_.with[k] += fixedGain[k];
    }
    CollectOptions(condition, database);
}

void FeasibilityProbe::CollectOptions(const CSearchCondition& condition,
                                      const CEquipDatabase& database) {
    int ids[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        ids[k] = skills_[k].systemId;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::vector<Option>& options = options_[slot];
        for (const CEquipData* piece : database.Armor(slot)) {
            const CEquipData* fixed = condition.fixed.pieces[slot];
            const bool allowed =
                fixed != nullptr ? piece == fixed : Qualifies(condition, ids, count_, slot, piece);
            if (!allowed || !FitsAKey(piece, ids, count_)) {
                continue;
            }
            Option option;
            option.profile.slots = std::clamp(piece->slots, 0, 3);
            option.profile.doubling = piece->bodyDoubling != 0;
            option.defense = piece->EffectiveDefense();
            // A doubling piece's own points count only at the body.
            if (!option.profile.doubling || slot == kBody) {
                for (int k = 0; k < count_; ++k) {
                    option.profile.points[k] = piece->PointsFor(ids[k]);
                    option.gain[k] = skills_[k].Gain(option.profile.points[k]);
                }
            }
            auto same = std::find_if(options.begin(), options.end(), [&](const Option& o) {
                return SameProfile(o.profile, option.profile);
            });
            if (same == options.end()) {
                options.push_back(option);
            } else {
                same->defense = std::max(same->defense, option.defense);
            }
        }
        KeepUndominated(slot, minDefense_ > 0);
    }
}

// An option no better than another in slots, in every skill and (when it matters) in defence is
// never needed to find a set.
void FeasibilityProbe::KeepUndominated(int slot, bool weighDefense) {
    std::vector<Option>& options = options_[slot];
    auto beats = [&](const Option& a, const Option& b) {
        if (a.profile.doubling != b.profile.doubling || a.profile.slots < b.profile.slots ||
            (weighDefense && a.defense < b.defense)) {
            return false;
        }
        for (int k = 0; k < count_; ++k) {
            if (a.gain[k] < b.gain[k]) {
                return false;
            }
        }
        return true;
    };
    // Of two that beat each other, the first stays.
    std::vector<Option> kept =
        WithoutDominated(options, [&](const Option& a, const Option& b, bool earlier) {
            return beats(a, b) && (!beats(b, a) || earlier);
        });
    // The most promising first, so that a set tends to turn up early.
    auto promise = [&](const Option& option) {
        int total = 0;
        for (int k = 0; k < count_; ++k) {
            total += option.gain[k] + fitter_.BestGain(k, option.profile.slots);
        }
        return total;
    };
    std::stable_sort(kept.begin(), kept.end(),
                     [&](const Option& a, const Option& b) { return promise(a) > promise(b); });
    options = std::move(kept);
}

bool FeasibilityProbe::AnySet() {
    steps_ = 0;
    return Descend(0, start_);
}

void FeasibilityProbe::AddOption(Reach& reach, const Option& option) const {
    const bool doubling = option.profile.doubling && &option != body_;
    const int own = option.profile.slots;
    const int bodySlots = doubling ? body_->profile.slots : 0;
    reach.slots += own + bodySlots;
    reach.defense += option.defense;
    for (int k = 0; k < count_; ++k) {
        const int gain = doubling ? body_->gain[k] : option.gain[k];
        reach.points[k] += gain;
        reach.with[k] +=
            gain + fitter_.BestGain(k, own) + (doubling ? fitter_.BestGain(k, bodySlots) : 0);
    }
}

FeasibilityProbe::Reach FeasibilityProbe::BestOf(int slot) const {
    Reach best;
    best.slots = kNone;
    best.defense = kNone;
    std::fill(best.points, best.points + kMaxTrackedSkills, kNone);
    std::fill(best.with, best.with + kMaxTrackedSkills, kNone);
    for (const Option& option : options_[slot]) {
        Reach one;
        AddOption(one, option);
        best.slots = std::max(best.slots, one.slots);
        best.defense = std::max(best.defense, one.defense);
        for (int k = 0; k < count_; ++k) {
            best.points[k] = std::max(best.points[k], one.points[k]);
            best.with[k] = std::max(best.with[k], one.with[k]);
        }
    }
    return best;
}

bool FeasibilityProbe::Reaches(const Reach& reach) const {
    return fitter_.GoalsMayBeMet(goal_, reach.points, reach.with, reach.slots);
}

bool FeasibilityProbe::Descend(int depth, const Reach& chosen) {
    const int slot = kOrder[depth];
    for (const Option& option : options_[slot]) {
        if (++steps_ % kAbortCheckEvery == 0 && abort_ != nullptr && abort_->load()) {
            return false;
        }
        pieces_[slot] = &option.profile;
        if (depth == 0) {
            body_ = &option;
            for (int d = 1; d < kSlotCount; ++d) {
                best_[kOrder[d]] = BestOf(kOrder[d]);
            }
        }
        Reach next = chosen;
        AddOption(next, option);
        if (depth == kSlotCount - 1) {
            // The bound of the whole set first: far cheaper than fitting it.
            const bool mayMeet = !bounded_ || body_->profile.doubling || Reaches(next);
            if (next.defense >= minDefense_ && mayMeet && combination_.CanMeet(pieces_)) {
                return true;
            }
            continue;
        }
        Reach total = next;
        for (int d = depth + 1; d < kSlotCount; ++d) {
            const Reach& best = best_[kOrder[d]];
            total.slots += best.slots;
            total.defense += best.defense;
            for (int k = 0; k < count_; ++k) {
                total.points[k] += best.points[k];
                total.with[k] += best.with[k];
            }
        }
        if (total.defense < minDefense_) {
            continue;
        }
        // A doubling body counts its own slots once more: too rare to bound.
        if (bounded_ && !body_->profile.doubling && !Reaches(total)) {
            continue;
        }
        if (Descend(depth + 1, next)) {
            return true;
        }
    }
    return false;
}
