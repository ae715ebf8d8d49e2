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
        if (best < 0 || Magnitude(skill.threshold) >= Magnitude(skills[best]->threshold)) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

int SkillSummary(const CEquipSet& set, const std::vector<CSkillData*>& skills,
                 const CSkillSystems& systems, SkillRowTable& out) {
    out.fill(SkillRow{});
    std::vector<SkillRow> rows;
    for (int id = 0; id < systems.Count(); ++id) {
        SkillRow row;
        if (BuildRow(set, id, row)) {
            row.skillIndex = ActivatedSkill(id, row.total, skills);
            rows.push_back(row);
        }
    }
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
