#include "engine/exact/exact_combination.h"

#include <algorithm>

#include "engine/condition/group_key.h"
#include "engine/fitting/fixed_placement.h"
#include "engine/tables/contains.h"

bool SameProfile(const PieceProfile& a, const PieceProfile& b) {
    return a.doubling == b.doubling && a.slots == b.slots &&
           std::equal(a.points, a.points + kMaxTrackedSkills, b.points);
}

std::optional<FreeRoom> FreeRoomOf(const CEquipSet& set) {
    FreeRoom room;
    int doubling = 0;
    for (int position = 0; position < kPositionCount; ++position) {
        const int free = set.FreeSlots(position);
        if (free < 0) {
            return std::nullopt;
        }
        room.capacity[position] = std::min(free, 3);
        if (position < kSlotCount && set.pieces[position] != nullptr) {
            doubling += set.pieces[position]->bodyDoubling ? 1 : 0;
        }
    }
    room.times[kBody] = 1 + doubling;
    return room;
}

std::vector<TrackedSkill> TrackedSkillsOf(const SkillTable& table) {
    std::vector<TrackedSkill> skills;
    for (int k = 0; k < table.count; ++k) {
        skills.push_back(TrackedSkill::For(*table.chosenRows[k], table.excluded[k]));
    }
    return skills;
}

std::vector<CDecoData*> ExactDecorations(const CSearchCondition& condition,
                                         const CEquipDatabase& database,
                                         const std::vector<TrackedSkill>& skills) {
    std::vector<CDecoData*> usable;
    for (CDecoData* deco : database.Decos()) {
        if (Contains(condition.excludedDecos, deco) ||
            (condition.ownedOnly && !Contains(condition.ownedDecos, deco))) {
            continue;
        }
        const bool serves =
            std::any_of(skills.begin(), skills.end(),
                        [deco](const TrackedSkill& s) { return deco->HasPositive(s.systemId); });
        if (serves) {
            usable.push_back(deco);
        }
    }
    return usable;
}

bool FixedDecorationGains(const CSearchCondition& condition,
                          const std::vector<TrackedSkill>& skills, int* gains) {
    const FixedDecorations fixed(condition);
    bool bounded = true;
    for (int position = 0; position < kPositionCount; ++position) {
        for (int i = 0; i < fixed.count[position]; ++i) {
            const CDecoData* deco = fixed.decos[position][i];
            bounded = bounded && position != kBody;
            for (std::size_t k = 0; k < skills.size(); ++k) {
                gains[k] += std::max(0, skills[k].Gain(deco->PointsFor(skills[k].systemId)));
            }
        }
    }
    return bounded;
}

ExactCombination::ExactCombination(const CSearchCondition& condition, ExactFitter& fitter)
    : fitter_(fitter), weaponSlots_(std::clamp(condition.weaponSlots, 0, 3)), fixed_(condition),
      hasFixed_(fixed_.Any()) {
    for (int k = 0; k < fitter.SkillCount(); ++k) {
        ids_[k] = fitter.Skill(k).systemId;
    }
}

int ExactCombination::SumPoints(const PieceProfile* const (&pieces)[kSlotCount]) {
    const int count = fitter_.SkillCount();
    int doubling = 0;
    std::fill_n(base_, count, 0);
    for (const PieceProfile* piece : pieces) {
        if (piece->doubling) {
            ++doubling;
            continue;
        }
        for (int k = 0; k < count; ++k) {
            base_[k] += piece->points[k];
        }
    }
    const PieceProfile& body = *pieces[kBody];
    for (int k = 0; doubling > 0 && k < count; ++k) {
        base_[k] += doubling * body.points[k];
    }
    return doubling;
}

void ExactCombination::Describe(const PieceProfile* const (&pieces)[kSlotCount]) {
    const int doubling = SumPoints(pieces);
    const int count = fitter_.SkillCount();
    for (int position = 0; position < kPositionCount; ++position) {
        holders_[position].Init(SlotsAt(pieces, position), position);
    }
    fixedSlots_ = PlaceFixedDecorations(fixed_, holders_, 1 + doubling, ids_, count, base_);
    for (int position = 0; position < kPositionCount; ++position) {
        room_.capacity[position] = holders_[position].free;
        room_.times[position] = position == kBody ? 1 + doubling : 1;
    }
}

// Asked for every profile of every combination judged: without fixed decorations the room is
// the pieces' slots, and no holders need filling.
int ExactCombination::DescribeRoom(const PieceProfile* const (&pieces)[kSlotCount]) {
    if (hasFixed_) {
        Describe(pieces);
        return fixedSlots_;
    }
    const int doubling = SumPoints(pieces);
    for (int position = 0; position < kPositionCount; ++position) {
        room_.capacity[position] = SlotsAt(pieces, position);
        room_.times[position] = position == kBody ? 1 + doubling : 1;
    }
    return 0;
}

bool ExactCombination::CanMeet(const PieceProfile* const (&pieces)[kSlotCount]) {
    DescribeRoom(pieces);
    return fitter_.CanMeet(room_, base_);
}

// Fixed decorations count only where they fit, so with them the points follow the slots.
bool ExactCombination::CanMeetWithSlotsOf(const PieceProfile* const (&pieces)[kSlotCount]) {
    if (hasFixed_) {
        return CanMeet(pieces);
    }
    for (int position = 0; position < kPositionCount; ++position) {
        room_.capacity[position] = SlotsAt(pieces, position);
    }
    return fitter_.CanMeetInRoom(room_);
}

int ExactCombination::SlotsAt(const PieceProfile* const (&pieces)[kSlotCount], int position) const {
    return std::clamp(position < kSlotCount ? pieces[position]->slots : weaponSlots_, 0, 3);
}

// Without fixed decorations the holders start empty and take the added ones as they come, which
// fit: the arrangement is the fitter's as it stands.
bool ExactCombination::Arrange(const PieceProfile* const (&pieces)[kSlotCount], DecoBlock& out) {
    if (!hasFixed_) {
        DescribeRoom(pieces);
        DecoBlock added;
        if (!fitter_.Arrange(room_, base_, added)) {
            return false;
        }
        out = added;
        return true;
    }
    Describe(pieces);
    DecoBlock added;
    if (!fitter_.Arrange(room_, base_, added)) {
        return false;
    }
    for (int position = 0; position < kPositionCount; ++position) {
        for (CDecoData* deco : added.decos[position]) {
            if (deco != nullptr) {
                holders_[position].Place(deco);
            }
        }
        std::copy_n(holders_[position].decos, 3, out.decos[position]);
    }
    return true;
}

bool ExactCombination::TakesAtMost(const PieceProfile* const (&pieces)[kSlotCount], int slots) {
    const int fixedSlots = DescribeRoom(pieces);
    return fitter_.TakesAtMost(room_, base_, slots - fixedSlots);
}

DoublingProfiles::DoublingProfiles(const CandidateList (&candidates)[kSlotCount],
                                   const SkillTable& table)
    : table_(table) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (const CEquipData* piece : candidates[slot]) {
            if (!piece->bodyDoubling) {
                continue;
            }
            const PieceProfile profile = ProfileOf(slot, *piece);
            auto found =
                std::find_if(profiles_[slot].begin(), profiles_[slot].end(),
                             [&](const PieceProfile& p) { return SameProfile(p, profile); });
            if (found == profiles_[slot].end()) {
                profiles_[slot].push_back(profile);
                found = profiles_[slot].end() - 1;
            }
            ++found->count;
        }
    }
}

// A doubling piece's own points count only at the body, where they are the body's points.
PieceProfile DoublingProfiles::ProfileOf(int slot, const CEquipData& piece) const {
    PieceProfile profile;
    profile.doubling = true;
    profile.slots = std::clamp(piece.slots, 0, 3);
    if (slot == kBody) {
        for (int k = 0; k < table_.count; ++k) {
            profile.points[k] = piece.PointsFor(table_.chosenIds[k]);
        }
    }
    return profile;
}

int DoublingProfiles::IndexOf(int slot, const CEquipData& piece) const {
    const PieceProfile profile = ProfileOf(slot, piece);
    const std::vector<PieceProfile>& list = profiles_[slot];
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (SameProfile(list[i], profile)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

PieceProfile ProfileOfKey(GroupKey key, int skillCount) {
    PieceProfile profile;
    profile.slots = KeySlots(key);
    for (int k = 0; k < skillCount; ++k) {
        profile.points[k] = KeyPoints(key, k);
    }
    return profile;
}
