#include "engine/sets/active_skills.h"

#include <algorithm>

#include "engine/sets/equip_set.h"
#include "engine/sets/skill_summary.h"
#include "engine/tables/equip_database.h"

namespace {

// A record may name a system twice; like the summary, only the first entry counts.
bool NamedBefore(const std::int32_t* ids, int entry) {
    return std::find(ids, ids + entry, ids[entry]) != ids + entry;
}

} // namespace

ActiveSkillFinder::ActiveSkillFinder(const CEquipDatabase& database)
    : skills_(database.Skills()), systemCount_(database.SkillSystems().Count()) {}

void ActiveSkillFinder::Add(int id, int points) {
    if (points == 0 || id < 0 || id >= systemCount_) {
        return;
    }
    for (Total& total : totals_) {
        if (total.id == id) {
            total.points += points;
            return;
        }
    }
    totals_.push_back({id, points});
}

int ActiveSkillFinder::Activated(int id, int total) {
    const std::int64_t key =
        (static_cast<std::int64_t>(id) << 32) ^ static_cast<std::uint32_t>(total);
    const auto found = activated_.find(key);
    if (found != activated_.end()) {
        return found->second;
    }
    const int row = ActivatedSkill(id, total, skills_);
    activated_.emplace(key, row);
    return row;
}

// Counts as the summary does: a body-doubling piece gives the body's points and those of the
// body's decorations; a position's decorations end at its first empty place and count only
// under a piece (the weapon always).
void ActiveSkillFinder::Find(const CEquipSet& set, std::vector<int>& rows) {
    totals_.clear();
    const CEquipData* body = set.pieces[kBody];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        if (piece == nullptr) {
            continue;
        }
        const CEquipData* giver = piece->bodyDoubling ? body : piece;
        if (giver == nullptr) {
            continue;
        }
        for (int entry = 0; entry < 5; ++entry) {
            if (!NamedBefore(giver->skillId, entry)) {
                Add(giver->skillId[entry], giver->skillPoints[entry]);
            }
        }
        if (piece->bodyDoubling) {
            for (const CDecoData* deco : set.decos[kBody]) {
                for (int entry = 0; deco != nullptr && entry < 2; ++entry) {
                    if (!NamedBefore(deco->skillId, entry)) {
                        Add(deco->skillId[entry], deco->skillPoints[entry]);
                    }
                }
            }
        }
    }
    for (int position = 0; position < kPositionCount; ++position) {
        if (position < kSlotCount && set.pieces[position] == nullptr) {
            continue;
        }
        for (const CDecoData* deco : set.decos[position]) {
            if (deco == nullptr) {
                break;
            }
            for (int entry = 0; entry < 2; ++entry) {
                if (!NamedBefore(deco->skillId, entry)) {
                    Add(deco->skillId[entry], deco->skillPoints[entry]);
                }
            }
        }
    }
    active_.clear();
    for (const Total& total : totals_) {
        const int row = Activated(total.id, total.points);
        if (row >= 0) {
            active_.push_back({total.id, total.points, row});
        }
    }
    // The summary orders its active rows by total, then by system.
    std::sort(active_.begin(), active_.end(), [](const Active& a, const Active& b) {
        return a.points != b.points ? a.points > b.points : a.id < b.id;
    });
    rows.clear();
    for (const Active& active : active_) {
        rows.push_back(active.row);
    }
}
