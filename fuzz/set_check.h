#pragma once

#include "engine/condition/search_condition.h"
#include "engine/search/skill_search.h"

// What every listed set must satisfy, checked with the skill summary the window shows.
namespace fuzz {

// Every result of the engine: five pieces of their slots, decorations packed and within the
// slots, the minimum defence (exceeded, after a refine), each chosen level active and each
// avoided one inactive. Fails the run otherwise.
void CheckListedSets(const CSkillSearch& engine, const CSearchCondition& condition, bool refined);

// Runs the search, checks its sets, refines them by `refine` and checks those.
void SearchAndRefine(CSkillSearch& engine, const CSearchCondition& condition,
                     const CSearchCondition& refine);

} // namespace fuzz
