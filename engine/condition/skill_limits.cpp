#include "engine/condition/skill_limits.h"

const char* SkillCountProblem(const CSearchCondition& condition) {
    if (condition.skillCount > kMaxChosenSkills) {
        return kTooManySkills;
    }
    if (condition.exactFitting == 0 && condition.skillCount > kMaxRuleFittingSkills) {
        return kTooManyForRuleFitting;
    }
    return nullptr;
}
