#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/skill_search.h"
#include "engine/sets/active_skills.h"
#include "engine/sets/skill_summary.h"
#include "engine/support/random_tables.h"

namespace {

// The quick finder names the activated rows of the skill summary, in its order, for every set
// random searches list (doubling pieces, minus points and fixed decorations among them).
TEST(ActiveSkillsTest, NamesTheSummarysActiveRowsInItsOrder) {
    std::mt19937 random(2207);
    int sets = 0;
    for (int round = 0; round < 60; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        condition.exactFitting = round % 2;
        engine.Search(condition);
        const std::vector<CSkillData*>& skills = engine.database.Skills();
        ActiveSkillFinder finder(engine.database);
        std::vector<int> found;
        for (const auto& set : engine.results) {
            SkillRowTable rows;
            std::vector<int> expected;
            const int count = SkillSummary(*set, skills, engine.database.SkillSystems(), rows);
            for (int i = 0; i < count; ++i) {
                if (rows[i].skillIndex >= 0) {
                    expected.push_back(rows[i].skillIndex);
                }
            }
            finder.Find(*set, found);
            EXPECT_EQ(found, expected) << "round " << round;
            ++sets;
        }
    }
    EXPECT_GT(sets, 100);
}

} // namespace
