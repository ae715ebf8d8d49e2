#include <random>

#include <gtest/gtest.h>

#include "platform/sjis.h"
#include "random_tables.h"
#include "search_checker.h"
#include "search_fixture.h"

namespace {

class SkillSearchTest : public SearchFixture {
protected:
    SkillSearchTest() {
        attack = System("attack");
        attack10 = Level(attack, 10);
        Deco(1, {{attack, 1}});
        Choose({attack10});
    }

    // Pieces with the given attack points, no slots and defence 1, one group each.
    void Pieces(int slot, std::initializer_list<int> points) {
        for (int value : points) {
            Piece(slot, 0, 1, {{attack, value}});
        }
    }

    void Run() {
        FillEmptySlots();
        engine.Search(condition);
        ExpectValidResults(engine, condition);
    }

    int attack = 0;
    int attack10 = 0;
};

TEST_F(SkillSearchTest, AnEmptySlotMeansNothingToSearch) {
    Piece(kLeg, 3, 1, {{attack, 9}})->sex = 2;
    Run();
    EXPECT_EQ(engine.totalCombos, 0U);
    EXPECT_EQ(engine.visited, 0U);
    EXPECT_TRUE(engine.results.empty());
    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(host.messages[0].id, SearchHost::kPhaseOneDone);
    EXPECT_EQ(host.messages[1].id, SearchHost::kSearchFinished);
    EXPECT_EQ(host.messages[1].visited, 0U);
    EXPECT_EQ(host.messages[1].total, 0U);
    EXPECT_EQ(engine.running, 0);
}

TEST_F(SkillSearchTest, SetLimitsStopBothPhases) {
    // Five head groups of four pieces each; every combination is a hit worth four sets.
    for (int value = 6; value <= 10; ++value) {
        Pieces(kHead, {value, value, value, value});
    }
    Pieces(kBody, {4});
    condition.maxDisplay = 10;
    Run();
    EXPECT_EQ(engine.hitCount, 3U) << "12 sets reach the limit of 10";
    EXPECT_EQ(engine.setCount, 12U);
    EXPECT_EQ(engine.visited, 3U);
    EXPECT_EQ(engine.totalCombos, 5U);
    EXPECT_EQ(engine.results.size(), 10U);
    EXPECT_EQ(host.messages[0].visited, 3U);

    // With a minimum defence only the hit count stops phase 1.
    condition.minDefense = 5;
    Run();
    EXPECT_EQ(engine.hitCount, 5U);
    EXPECT_EQ(engine.visited, engine.totalCombos);
    EXPECT_EQ(engine.results.size(), 10U);

    // A hit array as small as the calculation limit stops it too.
    condition.maxCalc = 2;
    Run();
    EXPECT_EQ(engine.hitCount, 2U);
    EXPECT_EQ(engine.results.size(), 8U);
}

TEST_F(SkillSearchTest, ExpansionStopsAfterTooManyDefenceRejections) {
    // The strong head group expands into one set and three rejected ones.
    Piece(kHead, 0, 10, {{attack, 10}});
    Pieces(kHead, {10, 10, 10});
    Piece(kHead, 0, 10, {{attack, 9}});
    Pieces(kBody, {1});
    condition.minDefense = 14;
    condition.maxCalc = 3;
    Run();
    EXPECT_EQ(engine.hitCount, 2U);
    EXPECT_EQ(engine.results.size(), 2U);

    condition.maxCalc = 2;
    Run();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(engine.results[0]->pieces[kHead]->EffectiveDefense(), 10);
}

TEST_F(SkillSearchTest, AFailedSubtreeSkipsTheEquivalentGroupWithFewerSlots) {
    Pieces(kHead, {5});
    Piece(kBody, 3, 1, {});
    Piece(kBody, 2, 1, {});
    Pieces(kArm, {0, 1});
    Run();
    EXPECT_TRUE(engine.results.empty());
    EXPECT_EQ(engine.totalCombos, 4U);
    EXPECT_EQ(engine.visited, engine.totalCombos);
    EXPECT_EQ(host.pumps, 2) << "the arm loop of the 2-slot body never ran";
}

TEST_F(SkillSearchTest, DefenceRejectionsKeepTheEquivalentGroupInPlay) {
    Pieces(kHead, {8});
    Piece(kBody, 3, 1, {});
    Piece(kBody, 2, 50, {});
    condition.minDefense = 40;
    Run();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(engine.results[0]->pieces[kBody]->slots, 2);
    EXPECT_EQ(engine.visited, engine.totalCombos);
}

TEST_F(SkillSearchTest, AnAbortInPhaseOneStillExpandsTheHitsFound) {
    Pieces(kHead, {10});
    Pieces(kBody, {0});
    Pieces(kArm, {0, 1, 2, 3});
    Pieces(kLeg, {0, -1});
    host.abortAtPump = 3;
    Run();
    EXPECT_EQ(engine.hitCount, 4U) << "two arm groups, two leg groups each";
    EXPECT_EQ(engine.results.size(), 4U);
    EXPECT_EQ(engine.visited, 5U);
    EXPECT_LT(engine.visited, engine.totalCombos);
    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(host.messages[0].visited, 5U);
    EXPECT_EQ(engine.running, 0);

    host.abortAtPump = 0;
    Run();
    EXPECT_EQ(engine.abortRequested, 0);
    EXPECT_EQ(engine.visited, engine.totalCombos);
}

// Crafted tables cover single rules; random ones find the interactions between them.
TEST(SkillSearchRandomTest, EveryListedSetIsSoundAndEveryCombinationIsCounted) {
    std::mt19937 random(20260);
    int searchesWithResults = 0;
    for (int round = 0; round < 300; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        engine.Search(condition);
        ASSERT_EQ(engine.visited, engine.totalCombos) << "round " << round;
        ExpectValidResults(engine, condition);
        searchesWithResults += engine.results.empty() ? 0 : 1;
        ASSERT_FALSE(::testing::Test::HasFailure()) << "round " << round;
    }
    EXPECT_GT(searchesWithResults, 50);
}

TEST(SkillSearchDataTest, SearchesTheBundledTables) {
    CSkillSearch engine(nullptr, nullptr);
    ASSERT_EQ(engine.database.LoadTablesFrom(KESTROVA_SOURCE_DIR "/data/", 0), 1);
    CSearchCondition condition;
    for (const char* name : {"攻撃力UP【小】", "会心＋１", "体力＋３０"}) {
        const std::string sjis = platform::Utf8ToSjis(name);
        for (std::size_t row = 0; row < engine.database.Skills().size(); ++row) {
            if (sjis == engine.database.Skills()[row]->skillName) {
                condition.skillRows[condition.skillCount++] = static_cast<int>(row);
            }
        }
    }
    ASSERT_GE(condition.skillCount, 2);
    condition.weaponSlots = 1;
    engine.Search(condition);
    EXPECT_FALSE(engine.results.empty());
    ExpectValidResults(engine, condition);
}

} // namespace
