#include "engine/condition/skill_limits.h"

SkillCountExcess SkillCountExcessOf(std::size_t rows, bool exactFitting) {
    if (rows > kMaxChosenSkills) {
        return SkillCountExcess::kBeyondAll;
    }
    if (!exactFitting && rows > kMaxRuleFittingSkills) {
        return SkillCountExcess::kBeyondRuleFitting;
    }
    return SkillCountExcess::kNone;
}

const char* SkillCountProblem(const CSearchCondition& condition) {
    switch (SkillCountExcessOf(static_cast<std::size_t>(condition.skillCount),
                               condition.exactFitting != 0)) {
    case SkillCountExcess::kBeyondAll:
        return kTooManySkills;
    case SkillCountExcess::kBeyondRuleFitting:
        return kTooManyForRuleFitting;
    case SkillCountExcess::kNone:
        break;
    }
    return nullptr;
}
