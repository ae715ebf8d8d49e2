#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/advisor/skill_advisor.h"
#include "engine/search/skill_search.h"
#include "engine/support/exhaustive_checker.h"
#include "engine/support/medium_tables.h"
#include "engine/support/plain_search.h"
#include "engine/support/ranked_reference.h"

// On tables of the size where the bounds, the remembered failures, the frontier tables and the
// ranking's cuts engage, the searches answer as their plain references do. The rounds and the
// first seed can be raised from the environment for a long run.
namespace {

constexpr int kMostCombinations = 40000;

int FromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::atoi(value) : fallback;
}

int Rounds(int fallback) {
    return FromEnvironment("KESTROVA_MEDIUM_ROUNDS", fallback);
}

std::mt19937 Random(int salt) {
    return std::mt19937(
        static_cast<unsigned>(FromEnvironment("KESTROVA_MEDIUM_SEED", 1) * 7919 + salt));
}

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

::testing::AssertionResult SameList(const std::vector<CEquipSet>& found,
                                    const std::vector<CEquipSet>& expected) {
    if (found.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << found.size() << " sets where " << expected.size() << " were expected";
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!SameSet(found[i], expected[i])) {
            return ::testing::AssertionFailure() << "set " << i << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(MediumTablesTest, RuleBasedSearchListsAndCountsAsWithoutBounds) {
    std::mt19937 random = Random(1);
    int withSets = 0;
    for (int round = 0; round < Rounds(200) && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildMediumRandomTables(random, kMostCombinations, engine.database, condition);
        engine.Search(condition);
        SearchProgress progress;
        SearchOutcome plain;
        RunPlainSearch(engine.database, condition, progress, plain);
        EXPECT_TRUE(SameList(Copies(engine), Copies(plain))) << "round " << round;
        EXPECT_EQ(engine.visited, progress.visited) << "round " << round;
        EXPECT_EQ(engine.totalCombos, progress.totalCombos) << "round " << round;
        EXPECT_EQ(engine.hitCount, plain.hitCount) << "round " << round;
        EXPECT_EQ(engine.setCount, plain.setCount) << "round " << round;
        EXPECT_EQ(engine.stopReason, SearchStop::kCompleted) << "round " << round;
        ExpectValidResults(engine, condition);
        withSets += engine.results.empty() ? 0 : 1;
    }
    EXPECT_GT(withSets, Rounds(200) / 4) << "the tables no longer let the chosen levels be met";
}

TEST(MediumTablesTest, CompleteSearchListsEveryValidSetWithTheCheapestDecorations) {
    std::mt19937 random = Random(2);
    for (int round = 0; round < Rounds(20) && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildMediumRandomTables(random, kMostCombinations, engine.database, condition);
        condition.exactFitting = 1;
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        EXPECT_EQ(engine.visited, engine.totalCombos) << "round " << round;
        EXPECT_EQ(engine.stopReason, SearchStop::kCompleted) << "round " << round;
        ExpectEveryValidSet(engine, condition, round);
    }
}

// In both fittings and for every key, a ranked search lists the stable sort of the unlimited list
// cut at its limit, examines every combination and says when the list was cut.
TEST(MediumTablesTest, RankedSearchListsTheSortedUnlimitedListCut) {
    std::mt19937 random = Random(3);
    for (int round = 0; round < Rounds(40) && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildMediumRandomTables(random, kMostCombinations, engine.database, condition);
        condition.exactFitting = round % 2;
        engine.Search(condition);
        const std::vector<CEquipSet> all = Copies(engine);
        for (const RankKey key : kRankKeys) {
            CSearchCondition ranked = condition;
            ranked.rankKey = key;
            const std::uint32_t limits[] = {1, 3, 17, static_cast<std::uint32_t>(all.size())};
            ranked.maxDisplay = std::max(limits[Pick(random, 0, 3)], 1u);
            engine.Search(ranked);
            EXPECT_TRUE(SameList(Copies(engine), BestOf(all, key, ranked, ranked.maxDisplay)))
                << "round " << round << " key " << static_cast<int>(key) << " limit "
                << ranked.maxDisplay;
            EXPECT_EQ(engine.visited, engine.totalCombos) << "round " << round;
            EXPECT_EQ(engine.stopReason, all.size() > ranked.maxDisplay ? SearchStop::kDisplayLimit
                                                                        : SearchStop::kCompleted)
                << "round " << round << " key " << static_cast<int>(key);
        }
    }
}

// A refine under more or other levels keeps, in both fittings, what can still be met; the complete
// one exactly those sets, with their cheapest additions, and ranked its list is the sorted
// unranked one cut.
TEST(MediumTablesTest, RefineKeepsWhatCanStillBeMetAndRanksIt) {
    std::mt19937 random = Random(4);
    for (int round = 0; round < Rounds(40) && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildMediumRandomTables(random, kMostCombinations, engine.database, condition);
        condition.exactFitting = round % 2;
        condition.skillCount = std::min(condition.skillCount, 2);
        condition.excludedSkillCount = 0;
        engine.Search(condition);
        const std::vector<CEquipSet> found = Copies(engine);
        const int rows = static_cast<int>(engine.database.Skills().size());
        condition.skillRows[condition.skillCount++] = Pick(random, 0, rows - 1);
        const auto refine = [&](RankKey key, std::uint32_t limit) {
            return RefineCopies(engine, found, condition, key, limit);
        };
        const std::vector<CEquipSet> all = refine(RankKey::kNone, 10000000);
        EXPECT_EQ(engine.visited, found.size()) << "round " << round;
        ExpectValidResults(engine, condition, true);
        if (condition.exactFitting) {
            std::size_t next = 0;
            for (const CEquipSet& set : found) {
                const std::optional<Cost> cost = CheapestAddition(set, condition, engine.database);
                if (!cost || set.TotalDefense() <= condition.minDefense) {
                    continue;
                }
                ASSERT_LT(next, all.size()) << "round " << round;
                ASSERT_EQ(TupleOf(all[next]), TupleOf(set)) << "round " << round;
                EXPECT_EQ(AddedCost(all[next], set), *cost) << "round " << round;
                ++next;
            }
            EXPECT_EQ(next, all.size()) << "round " << round;
        }
        const RankKey key = kRankKeys[Pick(random, 0, 7)];
        const std::uint32_t limit = Pick(random, 0, 1) == 0 ? 1 : 17;
        EXPECT_TRUE(SameList(refine(key, limit), BestOf(all, key, condition, limit)))
            << "round " << round;
        condition.rankKey = RankKey::kNone;
    }
}

// The levels the advisor finds addable are exactly those a brute-force search finds a set for.
TEST(MediumTablesTest, AddableLevelsAreThoseABruteForceSearchMeets) {
    constexpr int kFewCombinations = 3000;
    std::mt19937 random = Random(5);
    for (int round = 0; round < Rounds(3) && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildMediumRandomTables(random, kFewCombinations, engine.database, condition);
        const CEquipDatabase& database = engine.database;
        std::vector<int> expected;
        for (int row = 0; row < static_cast<int>(database.Skills().size()); ++row) {
            const CSkillData& skill = *database.Skills()[row];
            bool chosen = false;
            for (int k = 0; k < condition.skillCount; ++k) {
                chosen =
                    chosen || database.Skills()[condition.skillRows[k]]->systemId == skill.systemId;
            }
            CSearchCondition added = condition;
            added.skillRows[added.skillCount++] = row;
            if (skill.threshold > 0 && !chosen && !EveryValidSet(added, database).empty()) {
                expected.push_back(row);
            }
        }
        bool aborted = true;
        EXPECT_EQ(FindAddableSkills(database, condition, 1, engine, aborted), expected)
            << "round " << round;
        EXPECT_FALSE(aborted);
    }
}

} // namespace
