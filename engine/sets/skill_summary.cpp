#include "engine/sets/skill_summary.h"

#include <algorithm>

#include "engine/sets/counted_records.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"

namespace {

int Magnitude(int threshold) {
    return threshold < 0 ? -threshold : threshold;
}

} // namespace

bool TakesPlaceOf(const CSkillData& reached, const CSkillData* best) {
    return best == nullptr || Magnitude(reached.threshold) >= Magnitude(best->threshold);
}

namespace {

void AddPoints(SkillRow& row, int position, int points, bool& contributed) {
    if (points == 0) {
        return;
    }
    row.points[position] += points;
    row.total += points;
    contributed = true;
}

bool AnyDoubling(const CEquipSet& set) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (set.pieces[slot] != nullptr && set.pieces[slot]->bodyDoubling) {
            return true;
        }
    }
    return false;
}

// Builds the row of one skill system; false when nothing in the set touches it.
bool BuildRow(const CEquipSet& set, int id, SkillRow& row) {
    row = SkillRow{};
    row.systemId = id;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (set.pieces[slot] != nullptr && set.pieces[slot]->bodyDoubling) {
            row.doubling[slot] = 1;
        }
    }
    bool contributed = false;
    ForEachCountedRecord(set, [&](int position, const auto* record) {
        AddPoints(row, position, record->PointsFor(id), contributed);
    });
    return contributed;
}

} // namespace

int SkillPoints(const CEquipSet& set, int id) {
    SkillRow row;
    BuildRow(set, id, row);
    return row.total;
}

int ActivatedSkill(int id, int total, const std::vector<CSkillData*>& skills) {
    int best = -1;
    for (std::size_t i = 0; i < skills.size(); ++i) {
        const CSkillData& skill = *skills[i];
        if (skill.systemId != id || !skill.IsReached(total)) {
            continue;
        }
        if (TakesPlaceOf(skill, best < 0 ? nullptr : skills[best])) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

namespace {

// The activated level of each row, as ActivatedSkill finds it, in one walk over the skill table
// for all rows instead of one for each.
void FindActivatedSkills(std::vector<SkillRow>& rows, const std::vector<int>& rowOfSystem,
                         const std::vector<CSkillData*>& skills) {
    for (std::size_t i = 0; i < skills.size(); ++i) {
        const CSkillData& skill = *skills[i];
        if (skill.systemId < 0 || static_cast<std::size_t>(skill.systemId) >= rowOfSystem.size() ||
            rowOfSystem[static_cast<std::size_t>(skill.systemId)] < 0) {
            continue;
        }
        SkillRow& row = rows[static_cast<std::size_t>(rowOfSystem[skill.systemId])];
        if (!skill.IsReached(row.total)) {
            continue;
        }
        if (TakesPlaceOf(skill, row.skillIndex < 0 ? nullptr : skills[row.skillIndex])) {
            row.skillIndex = static_cast<int>(i);
        }
    }
}

} // namespace

int SkillSummary(const CEquipSet& set, const std::vector<CSkillData*>& skills,
                 const CSkillSystems& systems, SkillRowTable& out) {
    out.fill(SkillRow{});
    // Only the systems the set's records name can have points: a result list summarises
    // thousands of sets, and walking every system for each cost most of filling it.
    const std::size_t systemCount = static_cast<std::size_t>(std::max(systems.Count(), 0));
    std::vector<int> rowOfSystem(systemCount, -1);
    ForEachCountedRecord(set, [&rowOfSystem](int, const auto* record) {
        for (const int id : record->skillId) {
            if (id >= 0 && static_cast<std::size_t>(id) < rowOfSystem.size()) {
                rowOfSystem[static_cast<std::size_t>(id)] = 0;
            }
        }
    });
    std::vector<SkillRow> rows;
    for (std::size_t id = 0; id < systemCount; ++id) {
        SkillRow row;
        const bool named = rowOfSystem[id] == 0;
        rowOfSystem[id] = -1;
        if (named && BuildRow(set, static_cast<int>(id), row)) {
            row.skillIndex = -1;
            rowOfSystem[id] = static_cast<int>(rows.size());
            rows.push_back(row);
        }
    }
    FindActivatedSkills(rows, rowOfSystem, skills);
    std::stable_sort(rows.begin(), rows.end(), [](const SkillRow& a, const SkillRow& b) {
        const bool aActive = a.skillIndex >= 0;
        const bool bActive = b.skillIndex >= 0;
        if (aActive != bActive) {
            return aActive;
        }
        return a.total > b.total;
    });

    const bool doubling = AnyDoubling(set);
    const std::size_t room = kSkillRowCapacity - (doubling ? 1 : 0);
    const std::size_t kept = std::min(rows.size(), room);
    std::copy_n(rows.begin(), kept, out.begin());
    int count = static_cast<int>(kept);
    if (doubling) {
        SkillRow marker;
        marker.systemId = systems.Find(sjis::kBodyDoubling);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const CEquipData* piece = set.pieces[slot];
            marker.doubling[slot] = piece != nullptr && piece->bodyDoubling ? 1 : 0;
        }
        out[count++] = marker;
    }
    return count;
}
