#include "config/config_data.h"

void CConfigData::PushRecentSkill(int list, std::int32_t skillIndex) {
    if (list < 0 || list > 1) {
        return;
    }
    CRecentSkillList& recent = m_recent[list];
    recent.Remove(skillIndex);
    recent.Append(skillIndex);
    while (recent.Count() > kRecentSkillLimit) {
        recent.RemoveHead();
    }
}
