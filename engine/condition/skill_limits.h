#pragma once

#include <cstddef>

#include "engine/condition/search_condition.h"

constexpr char kTooManySkills[] = "選べるスキルは10個までです";
constexpr char kTooManyForRuleFitting[] =
    "スキルを6個以上選ぶときは「完全検索」で検索してください（通常の検索は5個まで）";

// What keeps a number of skill rows (chosen and avoided together) from a search with the given
// fitting: the complete fitting takes kMaxChosenSkills, the rule-based one kMaxRuleFittingSkills.
enum class SkillCountExcess { kNone, kBeyondAll, kBeyondRuleFitting };
SkillCountExcess SkillCountExcessOf(std::size_t rows, bool exactFitting);

// Why the condition's skill rows (chosen and avoided together) cannot be searched with its
// fitting, or nullptr when they can: the complete fitting takes ten, the rule-based one five.
const char* SkillCountProblem(const CSearchCondition& condition);
