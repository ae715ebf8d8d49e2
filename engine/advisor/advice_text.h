#pragma once

#include <string>
#include <vector>

#include "engine/advisor/skill_advisor.h"
#include "engine/tables/equip_database.h"

// The shown name (UTF-8) of the skill-table row an advice line of AdviceKind::kSkill leaves out.
std::string AdvisedSkillName(const CEquipDatabase& database, const SkillAdvice& line);

// The name of what an advice line changes (UTF-8): the chosen skill's name in 「」, or the
// option's caption.
std::string AdviceSubject(const CEquipDatabase& database, const SkillAdvice& line);

// The lines the window and the CLI show after an empty search (UTF-8), most first: "「…」を外すと
// N件", "最低防御力を外すと N件", "完全検索なら N件". Changes that find nothing share one line.
std::vector<std::string> AdviceLines(const CEquipDatabase& database,
                                     const std::vector<SkillAdvice>& advice);
