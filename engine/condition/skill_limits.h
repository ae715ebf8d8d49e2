#pragma once

#include "engine/condition/search_condition.h"

constexpr char kTooManySkills[] = "選べるスキルは10個までです";
constexpr char kTooManyForRuleFitting[] =
    "スキルを6個以上選ぶときは「完全検索」で検索してください（通常の検索は5個まで）";

// Why the condition's skill rows (chosen and avoided together) cannot be searched with its
// fitting, or nullptr when they can: the complete fitting takes ten, the rule-based one five.
const char* SkillCountProblem(const CSearchCondition& condition);
