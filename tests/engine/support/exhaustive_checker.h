#pragma once

#include <array>
#include <map>
#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include "engine/condition/search_condition.h"
#include "engine/search/skill_search.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"

// Checks a listed set from scratch, knowing nothing of how the search found it: the pieces allowed
// by the condition, decorations within the slots of their positions, the defence minimum kept,
// every chosen level reached and every avoided level not.
::testing::AssertionResult IsValidResult(const CEquipSet& set, const CSearchCondition& condition,
                                         const CEquipDatabase& database, bool refined);

// Runs the check over every result of the engine's last search or refine.
void ExpectValidResults(const CSkillSearch& engine, const CSearchCondition& condition,
                        bool refined = false);

// The answer of a brute-force search, knowing nothing of the engine's fitting: every combination
// of allowed pieces, and for each every way of putting usable decorations into its free slots,
// counted as the skill summary counts them.
using PieceTuple = std::array<CEquipData*, kSlotCount>;
using Cost = std::pair<int, int>; // slots, then decorations added

// The cheapest decorations to add to `set` (keeping what it carries) so that it meets the
// condition's chosen and avoided levels; none when no choice does.
std::optional<Cost> CheapestAddition(const CEquipSet& set, const CSearchCondition& condition,
                                     const CEquipDatabase& database);

// The pieces of `tuple` with the condition's fixed decorations put where their piece is fixed
// (and on the weapon), as far as they fit.
CEquipSet WithFixedDecorations(const PieceTuple& tuple, const CSearchCondition& condition);

// Every allowed combination of pieces that some choice of decorations makes meet the condition,
// with the fixed decorations in place, and the cost of its cheapest addition.
std::map<PieceTuple, Cost> EveryValidSet(const CSearchCondition& condition,
                                         const CEquipDatabase& database);

PieceTuple TupleOf(const CEquipSet& set);

// What a search or refine added to `set` beyond `before`, as slots and decorations.
Cost AddedCost(const CEquipSet& set, const CEquipSet& before);

// The complete fitting in `engine` listed exactly the valid sets, each with the cheapest
// decorations; returns how many valid sets there are.
std::size_t ExpectEveryValidSet(const CSkillSearch& engine, const CSearchCondition& condition,
                                int round);
