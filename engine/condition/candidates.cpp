#include "engine/condition/candidates.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "engine/condition/group_key.h"
#include "engine/tables/contains.h"

namespace {

// A rarity outside the table's range cannot be allowed.
bool RarityAllowed(const CSearchCondition& condition, int rarity) {
    return rarity >= 0 && rarity < kRarityCount && condition.rarityAllowed[rarity] != 0;
}

} // namespace

bool Qualifies(const CSearchCondition& condition, const int* ids, int count, int slot,
               const CEquipData* piece) {
    if (Contains(condition.excluded[slot], piece)) {
        return false;
    }
    if (condition.excludeDoubling && piece->bodyDoubling) {
        return false;
    }
    if (condition.fastSearch && !piece->bodyDoubling && !piece->HasPositivePointsIn(ids, count)) {
        return false;
    }
    if (condition.ownedOnly && !Contains(condition.owned[slot], piece)) {
        return false;
    }
    return (piece->job == 0 || piece->job == condition.job) &&
           (piece->sex == 0 || piece->sex == condition.sex) &&
           RarityAllowed(condition, piece->rarity);
}

bool FitsAKey(const CEquipData* piece, const int* ids, int count) {
    if (piece->bodyDoubling) {
        return true;
    }
    for (int k = 0; k < count; ++k) {
        const int points = piece->PointsFor(ids[k]);
        if (points < kKeyPointsMin || points > kKeyPointsMax) {
            return false;
        }
    }
    return true;
}

namespace {

// A list whose defences spread over more points than this per piece is sorted by comparison:
// counting it would mostly walk empty buckets.
constexpr std::size_t kDefenseSpreadPerPiece = 4;

// The defences are read once into the pairs sorted, not from the records at each comparison.
void SortByDefenseCompared(CandidateList& list) {
    std::vector<std::pair<int, CEquipData*>> byDefense;
    byDefense.reserve(list.size());
    for (CEquipData* piece : list) {
        byDefense.emplace_back(piece->EffectiveDefense(), piece);
    }
    std::stable_sort(byDefense.begin(), byDefense.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i] = byDefense[i].second;
    }
}

// Stable, so equal defences keep table order and results come out the same every run. Counted
// into one bucket per defence from the strongest down instead of sorted by comparison: the
// lists of large tables hold thousands of pieces over a narrow range of defences.
void SortByDefense(CandidateList& list) {
    if (list.empty()) {
        return;
    }
    const auto [weakest, strongest] =
        std::minmax_element(list.begin(), list.end(), [](const CEquipData* a, const CEquipData* b) {
            return a->EffectiveDefense() < b->EffectiveDefense();
        });
    const int top = (*strongest)->EffectiveDefense();
    const auto spread = static_cast<std::size_t>(top - (*weakest)->EffectiveDefense()) + 1;
    if (spread > kDefenseSpreadPerPiece * list.size()) {
        SortByDefenseCompared(list);
        return;
    }
    std::vector<std::size_t> start(spread + 1, 0);
    for (const CEquipData* piece : list) {
        ++start[static_cast<std::size_t>(top - piece->EffectiveDefense()) + 1];
    }
    for (std::size_t d = 1; d <= spread; ++d) {
        start[d] += start[d - 1];
    }
    CandidateList sorted(list.size());
    for (CEquipData* piece : list) {
        sorted[start[static_cast<std::size_t>(top - piece->EffectiveDefense())]++] = piece;
    }
    list = std::move(sorted);
}

// Groups are looked up by key through an index: a slot's table may hold a great many pieces with
// distinct keys, and a linear search made grouping quadratic in them.
void AddToGroups(GroupList& groups, std::unordered_map<GroupKey, std::size_t>& index,
                 CEquipData& piece, GroupKey key) {
    piece.groupKey = key;
    const auto [entry, added] = index.try_emplace(key, groups.size());
    if (added) {
        groups.push_back({key, piece.EffectiveDefense(), piece.slots, 1});
        return;
    }
    CandidateGroup& group = groups[entry->second];
    group.bestDefense = std::max(group.bestDefense, piece.EffectiveDefense());
    ++group.count;
}

} // namespace

int BuildCandidates(const CSearchCondition& condition, const CEquipDatabase& database,
                    const SkillTable& table, CandidateList (&lists)[kSlotCount]) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CandidateList& list = lists[slot];
        list.clear();
        const std::vector<CEquipData*>& armor = database.Armor(slot);
        if (CEquipData* fixed = condition.fixed.pieces[slot]) {
            if (!Contains(armor, fixed)) {
                return 0;
            }
            if (FitsAKey(fixed, table.chosenIds, table.count)) {
                list.push_back(fixed);
            }
            continue;
        }
        for (CEquipData* piece : armor) {
            if (Qualifies(condition, table.chosenIds, table.count, slot, piece) &&
                FitsAKey(piece, table.chosenIds, table.count)) {
                list.push_back(piece);
            }
        }
        SortByDefense(list);
    }
    return 1;
}

GroupKey GroupKeyOf(const CEquipData& piece, const SkillTable& table) {
    if (piece.bodyDoubling) {
        return kDoublingKey;
    }
    int points[kMaxChosenSkills] = {};
    for (int k = 0; k < table.count; ++k) {
        points[k] = piece.PointsFor(table.chosenIds[k]);
    }
    return PackKey(points, table.count, piece.slots);
}

void GroupCandidates(const CandidateList (&lists)[kSlotCount], const SkillTable& table,
                     GroupList (&groups)[kSlotCount]) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        groups[slot].clear();
        std::unordered_map<GroupKey, std::size_t> index;
        for (CEquipData* piece : lists[slot]) {
            AddToGroups(groups[slot], index, *piece, GroupKeyOf(*piece, table));
        }
        std::sort(groups[slot].begin(), groups[slot].end(),
                  [](const CandidateGroup& a, const CandidateGroup& b) { return a.key > b.key; });
    }
}
