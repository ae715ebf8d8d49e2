#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/rank_key.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/records.h"

// Skill rows of a condition, chosen and avoided together. The rule-based fitting was built around
// five; the complete fitting takes up to ten.
constexpr int kMaxChosenSkills = 10;
constexpr int kMaxRuleFittingSkills = 5;
constexpr int kRarityCount = 11;

// Everything a search is told: filled by the window (or the CLI) from its controls, the
// configuration and the list files. Holds only pointers into the loaded tables.
struct CSearchCondition {
    std::int32_t skillCount = 0;
    std::int32_t skillRows[kMaxChosenSkills] = {}; // skill-table indices, in chosen-list order
    std::int32_t job = 1;                          // 1 blade, 2 gunner
    std::int32_t sex = 1;                          // 1 male, 2 female
    std::int32_t weaponSlots = 0;
    std::int32_t minDefense = 0; // 0: no minimum
    CEquipSet fixed;
    std::int32_t rarityAllowed[kRarityCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::vector<CEquipData*> excluded[kSlotCount];
    std::vector<CDecoData*> excludedDecos;
    std::uint32_t maxCalc = 1000000;
    std::uint32_t maxDisplay = 10000;
    std::int32_t excludedSkillCount = 0;
    std::int32_t excludedSkillRows[kMaxChosenSkills] = {};
    std::int32_t fastSearch = 0;
    std::int32_t excludeDoubling = 0;
    std::int32_t ownedOnly = 0;
    std::vector<CEquipData*> owned[kSlotCount];
    std::vector<CDecoData*> ownedDecos;
    // Fit decorations exactly: every usable decoration, every arrangement. Off, the fitting is the
    // quick rule-based one, which misses some sets.
    std::int32_t exactFitting = 0;
    // Lists the `maxDisplay` sets best by this key instead of the first ones found.
    RankKey rankKey = RankKey::kNone;
};
