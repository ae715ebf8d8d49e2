#pragma once

#include <cstdint>
#include <vector>

#include "engine/sets/equip_set.h"
#include "engine/condition/search_condition.h"
#include "engine/search/skill_search.h"

// Answers to "what else could I get": exact, whichever fitting the search uses.

// Skill-table rows (in table order) of the plus levels the weapon class may choose, of systems
// not already chosen or avoided, that some armour set meets together with the condition. Runs
// on `threads` threads; the calling thread pumps the engine's host and reports progress in the
// engine's `visited` and `totalCombos` (skill systems examined and to examine). Stops early when
// `abortRequested` is set; `aborted` then tells so.
std::vector<int> FindAddableSkills(CSkillSearch& engine, const CSearchCondition& condition,
                                   int threads, bool& aborted);

// Rows of the plus levels the set does not reach yet that decorations in its free slots could
// add, keeping its pieces and decorations, every chosen level reached and no avoided one.
std::vector<int> AddableSkillsOfSet(const CEquipDatabase& database,
                                    const CSearchCondition& condition, const CEquipSet& set);

// How many sets the same search finds without one of its chosen rows, for each chosen row that is
// not avoided, most first. Counting stops at the display limit (`atLeast`). Runs searches on the
// engine and leaves its results and counters as they were.
struct SkillAdvice {
    int row = 0;
    std::uint64_t sets = 0;
    bool atLeast = false;
};
std::vector<SkillAdvice> AdviseWithout(CSkillSearch& engine, const CSearchCondition& condition);
