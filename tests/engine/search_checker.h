#pragma once

#include <gtest/gtest.h>

#include "engine/equip_set.h"
#include "engine/search_condition.h"
#include "engine/skill_search.h"

// Checks a listed set from scratch with the skill summary, knowing nothing of how the search
// found it: every chosen level reached, every avoided level not, decorations within the slots of
// their positions, the defence minimum kept, and the pieces allowed by the condition.
::testing::AssertionResult IsValidResult(const CEquipSet& set, const CSearchCondition& condition,
                                         const CEquipDatabase& database, bool refined);

// Runs the check over every result of the engine's last search or refine.
void ExpectValidResults(const CSkillSearch& engine, const CSearchCondition& condition,
                        bool refined = false);
