#include "engine/tables/records.h"

bool CSkillData::IsReached(int total) const {
    return threshold > 0 ? total >= threshold : total <= threshold;
}

bool CDecoData::HasSkill(int id) const {
    return skillId[0] == id || skillId[1] == id;
}

bool CDecoData::HasPositive(int id) const {
    return (skillId[0] == id && skillPoints[0] > 0) || (skillId[1] == id && skillPoints[1] > 0);
}

bool CDecoData::HasNegative(int id) const {
    return (skillId[0] == id && skillPoints[0] < 0) || (skillId[1] == id && skillPoints[1] < 0);
}

int CDecoData::PointsFor(int id) const {
    for (int i = 0; i < 2; ++i) {
        if (skillId[i] == id) {
            return skillPoints[i];
        }
    }
    return 0;
}

bool CEquipData::HasSkill(int id) const {
    for (int entry : skillId) {
        if (entry == id) {
            return true;
        }
    }
    return false;
}

bool CEquipData::HasPositivePointsIn(const int* ids, int count) const {
    for (int i = 0; i < 5; ++i) {
        if (skillPoints[i] <= 0) {
            continue;
        }
        for (int k = 0; k < count; ++k) {
            if (skillId[i] == ids[k]) {
                return true;
            }
        }
    }
    return false;
}
