#include "engine/sets/active_skills.h"

#include <algorithm>
#include <iterator>

#include "engine/sets/counted_records.h"
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

// Counts as the summary does, record by record.
void ActiveSkillFinder::Find(const CEquipSet& set, std::vector<int>& rows) {
    totals_.clear();
    ForEachCountedRecord(set, [this](int, const auto* record) {
        const int entries = static_cast<int>(std::size(record->skillId));
        for (int entry = 0; entry < entries; ++entry) {
            if (!NamedBefore(record->skillId, entry)) {
                Add(record->skillId[entry], record->skillPoints[entry]);
            }
        }
    });
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
