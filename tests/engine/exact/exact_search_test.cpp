#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/skill_search.h"
#include "engine/support/exhaustive_checker.h"
#include "engine/support/random_tables.h"

namespace {

// Random decorations become excluded, or decorations and pieces owned, so the choice of usable
// ones is tried too.
void RestrictDecorations(std::mt19937& random, CEquipDatabase& database, CSearchCondition& c) {
    const int mode = std::uniform_int_distribution<int>(0, 3)(random);
    for (CDecoData* deco : database.Decos()) {
        const bool pick = std::uniform_int_distribution<int>(0, 2)(random) == 0;
        if (mode == 1 && pick) {
            c.excludedDecos.push_back(deco);
        } else if (mode == 2 && !pick) {
            c.ownedDecos.push_back(deco);
        }
    }
    if (mode == 2) {
        c.ownedOnly = 1;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            for (CEquipData* piece : database.Armor(slot)) {
                if (std::uniform_int_distribution<int>(0, 3)(random) != 0) {
                    c.owned[slot].push_back(piece);
                }
            }
        }
    }
}

::testing::AssertionResult IsSubsequence(const std::vector<PieceTuple>& part,
                                         const std::vector<PieceTuple>& whole) {
    auto at = whole.begin();
    for (const PieceTuple& tuple : part) {
        at = std::find(at, whole.end(), tuple);
        if (at == whole.end()) {
            return ::testing::AssertionFailure() << "a set of the normal search is missing or "
                                                    "out of order";
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

// A fixed doubling piece holds its fixed decorations in the exact mode, which counts them; the
// normal mode gives it no slots and leaves them out, so it may list a set the decorations spoil.
bool FixesDecorationsOnADoublingPiece(const CSearchCondition& c) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (c.fixed.pieces[slot] != nullptr && c.fixed.pieces[slot]->bodyDoubling &&
            c.fixed.decos[slot][0] != nullptr) {
            return true;
        }
    }
    return false;
}

std::vector<PieceTuple> Tuples(const CSkillSearch& engine) {
    std::vector<PieceTuple> tuples;
    for (const auto& set : engine.results) {
        tuples.push_back(TupleOf(*set));
    }
    return tuples;
}

// On random tiny tables the normal search lists only sound sets and counts every combination; the
// exact search lists exactly the sets a brute-force search finds, each with its cheapest
// decorations, and keeps every set of the normal search in the same order.
TEST(ExactSearchTest, ListsEveryValidSetWithTheCheapestDecorations) {
    std::mt19937 random(7321);
    int missedByNormal = 0;
    for (int round = 0; round < 400 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        RestrictDecorations(random, engine.database, condition);
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        EXPECT_EQ(engine.visited, engine.totalCombos) << "round " << round;
        const std::vector<PieceTuple> normal = Tuples(engine);

        condition.exactFitting = 1;
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        EXPECT_EQ(engine.visited, engine.totalCombos) << "round " << round;
        const std::size_t expected = ExpectEveryValidSet(engine, condition, round);
        if (!FixesDecorationsOnADoublingPiece(condition)) {
            EXPECT_TRUE(IsSubsequence(normal, Tuples(engine))) << "round " << round;
        }
        missedByNormal += normal.size() < expected ? 1 : 0;
    }
    EXPECT_GT(missedByNormal, 10) << "the tables no longer defeat the normal fitting";
}

// Six to eight rows, past what the rule-based fitting takes: the exact search, found order or
// ranked, lists exactly the sets a brute-force search finds, with the cheapest decorations.
TEST(ExactSearchTest, ListsEveryValidSetOfSixToEightSkillRows) {
    std::mt19937 random(4409);
    int roundsWithSets = 0;
    for (int round = 0; round < 100 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildWideRandomTables(random, 6 + round % 3, engine.database, condition);
        condition.exactFitting = 1;
        condition.rankKey = round % 2 == 0 ? RankKey::kNone : RankKey::kDefense;
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        const std::size_t expected = ExpectEveryValidSet(engine, condition, round);
        roundsWithSets += expected == 0 ? 0 : 1;
    }
    EXPECT_GT(roundsWithSets, 10) << "the tables no longer let many rows be met";
}

// The normal refine keeps only sound sets; the exact refine keeps a set exactly when decorations
// in its free slots can meet the new condition, and adds the cheapest ones.
TEST(ExactSearchTest, RefineKeepsEverySetThatCanStillBeMet) {
    std::mt19937 random(991);
    for (int round = 0; round < 200 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        condition.skillCount = 1;
        condition.excludedSkillCount = 0;
        condition.minDefense = 0;
        const int rows = static_cast<int>(engine.database.Skills().size());
        int row = std::uniform_int_distribution<int>(0, rows - 1)(random);
        engine.Search(condition);
        const std::size_t normal = engine.results.size();
        std::swap(condition.skillRows[0], row);
        engine.RefineSearch(condition);
        EXPECT_EQ(engine.visited, normal) << "round " << round;
        ExpectValidResults(engine, condition, true);

        std::swap(condition.skillRows[0], row);
        condition.exactFitting = 1;
        engine.Search(condition);
        std::vector<CEquipSet> before;
        for (const auto& set : engine.results) {
            before.push_back(*set);
        }
        std::swap(condition.skillRows[0], row);
        engine.RefineSearch(condition);
        ExpectValidResults(engine, condition, true);
        std::size_t next = 0;
        for (const CEquipSet& set : before) {
            const std::optional<Cost> cost = CheapestAddition(set, condition, engine.database);
            if (!cost) {
                continue;
            }
            ASSERT_LT(next, engine.results.size()) << "round " << round;
            ASSERT_EQ(TupleOf(*engine.results[next]), TupleOf(set)) << "round " << round;
            EXPECT_EQ(AddedCost(*engine.results[next], set), *cost) << "round " << round;
            ++next;
        }
        EXPECT_EQ(next, engine.results.size()) << "round " << round;
    }
}

} // namespace
