#pragma once

#include "engine/condition/search_condition.h"
#include "engine/tables/records.h"

// The chosen skills; the skill advisor probes one more while fewer than that are chosen.
constexpr int kMaxTrackedSkills = kMaxChosenSkills;

// A skill level a set must reach, or must keep inactive, as a bound on its total: `direction`
// times the total must be at least `direction` times `bound`. A plus level wants more points, a
// minus level that must stay active and an avoided plus level want fewer.
struct TrackedSkill {
    int systemId = 0;
    int direction = 1;
    int bound = 0;

    static TrackedSkill For(const CSkillData& row, bool avoided) {
        const int threshold = row.threshold;
        const bool plus = threshold > 0;
        TrackedSkill skill;
        skill.systemId = row.systemId;
        if (!avoided) {
            skill.direction = plus ? 1 : -1;
            skill.bound = threshold;
        } else {
            // Inactive: one point short of a plus level, one point above a minus level.
            skill.direction = plus ? -1 : 1;
            skill.bound = plus ? threshold - 1 : threshold + 1;
        }
        return skill;
    }

    // Points counted in the direction that helps.
    int Gain(int points) const { return direction * points; }
    // What decorations still have to add, in gains, to a set holding `points`; met at zero or
    // below.
    int Required(int points) const { return direction * (bound - points); }
};
