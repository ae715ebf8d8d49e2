#include <climits>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/condition/group_key.h"
#include "engine/condition/skill_limits.h"
#include "engine/support/exhaustive_checker.h"
#include "engine/support/search_fixture.h"

namespace {

class SkillSearchTest : public SearchFixture {
protected:
    SkillSearchTest() {
        Deco(1, {{attack, 1}});
        Choose({attack10});
    }

    // One piece per value: no slots, defence 1, the value in attack points.
    void Pieces(int slot, std::initializer_list<int> values) {
        for (int value : values) {
            Piece(slot, 0, 1, {{attack, value}});
        }
    }

    void Check() {
        Run();
        ExpectValidResults(engine, condition);
    }
};

// Five head groups of four pieces each; every combination is a hit worth four sets. A limit
// reached at the last combination, or a list that is full with no set left over, cut nothing; a
// minimum defence leaves only the hit count to stop phase 1; the hits found before an abort are
// still expanded; a refine is never cut.
TEST_F(SkillSearchTest, LimitsStopBothPhasesAndTheEngineTellsWhy) {
    for (int value = 6; value <= 10; ++value) {
        Pieces(kHead, {value, value, value, value});
    }
    Pieces(kBody, {4});
    struct Case {
        std::uint32_t maxDisplay, maxCalc;
        int minDefense, abortAtPump;
        SearchStop stop;
        std::uint32_t hits;
        std::uint64_t visited;
        std::size_t sets;
    };
    const Case cases[] = {
        {100, 100, 0, 0, SearchStop::kCompleted, 5, 5, 20},
        {20, 100, 0, 0, SearchStop::kCompleted, 5, 5, 20},
        {19, 100, 0, 0, SearchStop::kDisplayLimit, 5, 5, 19},
        {10, 100, 0, 0, SearchStop::kDisplayLimit, 3, 3, 10},
        {10, 100, 5, 0, SearchStop::kDisplayLimit, 5, 5, 10},
        {100, 2, 5, 0, SearchStop::kCalcLimit, 2, 2, 8},
        {100, 5, 5, 0, SearchStop::kCompleted, 5, 5, 20},
        {100, 100, 0, 3, SearchStop::kAborted, 2, 3, 8},
        {3, 100, 0, 2, SearchStop::kAborted, 1, 1, 0},
    };
    for (const Case& c : cases) {
        condition.maxDisplay = c.maxDisplay;
        condition.maxCalc = c.maxCalc;
        condition.minDefense = c.minDefense;
        host.pumps = 0;
        host.abortAtPump = c.abortAtPump;
        SCOPED_TRACE(::testing::Message()
                     << "display " << c.maxDisplay << ", calc " << c.maxCalc << ", defence "
                     << c.minDefense << ", abort " << c.abortAtPump);
        Check();
        EXPECT_EQ(engine.stopReason, c.stop);
        EXPECT_EQ(engine.hitCount, c.hits);
        EXPECT_EQ(engine.setCount, 4U * c.hits);
        EXPECT_EQ(engine.visited, c.visited);
        EXPECT_EQ(engine.results.size(), c.sets);
        host.abortAtPump = 0;
        engine.RefineSearch(condition);
        EXPECT_EQ(engine.stopReason, SearchStop::kCompleted);
    }
}

// The first hit expands into one set of defence 14 and five too weak to list. The rule-based
// search in the found order rejects them one by one and stops past the calculation limit; the
// complete fitting and a ranked search never build them and list both valid sets.
TEST_F(SkillSearchTest, OnlyTheRuleBasedFoundOrderCountsTooWeakSetsAgainstTheLimit) {
    Piece(kHead, 0, 10, {{attack, 10}});
    Pieces(kHead, {10, 10, 10, 10, 10});
    Piece(kHead, 0, 10, {{attack, 9}});
    Pieces(kBody, {1});
    condition.minDefense = 14;
    condition.maxCalc = 3;
    struct Case {
        int exact;
        RankKey rank;
        std::size_t sets;
        SearchStop stop;
    };
    const Case cases[] = {
        {0, RankKey::kNone, 1, SearchStop::kCalcLimit},
        {1, RankKey::kNone, 2, SearchStop::kCompleted},
        {0, RankKey::kDefense, 2, SearchStop::kCompleted},
        {1, RankKey::kDefense, 2, SearchStop::kCompleted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "exact " << c.exact << ", ranked " << (c.rank != RankKey::kNone));
        condition.exactFitting = c.exact;
        condition.rankKey = c.rank;
        Check();
        EXPECT_EQ(engine.results.size(), c.sets);
        EXPECT_EQ(engine.stopReason, c.stop);
    }
}

TEST_F(SkillSearchTest, AFailedSubtreeSkipsTheEquivalentGroupUnlessDefenceWasTheReason) {
    Pieces(kHead, {8});
    Piece(kBody, 2, 1, {});
    Piece(kBody, 1, 50, {});
    Pieces(kArm, {-5, -6});
    Check();
    EXPECT_EQ(engine.visited, engine.totalCombos);
    EXPECT_EQ(host.pumps, 2) << "the arm loop of the 1-slot body never ran";

    // The 2-slot body fails on defence alone, so the 1-slot one is still searched.
    engine.database.Armor(kArm)[0]->skillPoints[0] = 0;
    engine.database.Armor(kArm)[1]->skillPoints[0] = 1;
    condition.minDefense = 40;
    Check();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(engine.results[0]->pieces[kBody]->slots, 1);
    EXPECT_EQ(engine.visited, engine.totalCombos);
}

TEST_F(SkillSearchTest, AnEmptySlotMeansNothingToSearch) {
    Piece(kLeg, 3, 1, {{attack, 9}})->sex = 2;
    Check();
    EXPECT_TRUE(engine.results.empty());
    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(host.messages[0].id + 1, host.messages[1].id);
    EXPECT_EQ(host.messages[1].visited + host.messages[1].total, 0U);
}

// An expansion may run long and fill memory with sets; an abort that comes during it stops it
// before the next set. One pump in phase 1 (the arm loop), then one per set.
TEST_F(SkillSearchTest, AnAbortDuringTheExpansionStopsItAtOnce) {
    Pieces(kHead, {10, 10, 10, 10, 10, 10});
    host.abortAtPump = 3;
    Check();
    EXPECT_EQ(engine.hitCount, 1U);
    EXPECT_EQ(engine.results.size(), 1U) << "the pump before the second set aborted";
    EXPECT_EQ(host.messages.size(), 2U);
    EXPECT_EQ(engine.abortRequested, 1);
    EXPECT_EQ(engine.running, 0);
}

// Five defences of INT_MAX: a sum wrapped to a negative value would fail every minimum and hide
// the set.
TEST_F(SkillSearchTest, HugeDefencesNeitherWrapNorHideSets) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Piece(slot, 0, INT_MAX, {{attack, slot == kHead ? 10 : 0}});
    }
    condition.minDefense = 1;
    Check();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(engine.results[0]->TotalDefense(), INT_MAX);
    engine.RefineSearch(condition);
    EXPECT_EQ(engine.results.size(), 1U);
}

// 7200 distinct groups a slot stand for more than 2^64 combinations; the counts saturate
// instead of wrapping to a small number.
TEST_F(SkillSearchTest, CombinationCountsBeyond64BitsSaturate) {
    const int other = engine.database.AddSkillSystem("other");
    Choose({attack10, guard10, Level(other, 10)});
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = 0; i < 7200; ++i) {
            Piece(slot, i % 4, 1,
                  {{attack, i / 4 % 31 - 15}, {guard, i / 124 % 31 - 15}, {other, i / 3844 - 15}});
        }
    }
    host.abortAtPump = 1;
    Check();
    EXPECT_EQ(engine.totalCombos, UINT64_MAX);
    EXPECT_EQ(host.messages.back().total, UINT64_MAX);
    EXPECT_LT(engine.visited, 100U);
}

// Doubling bodies of equal slots differ in their points: one that falls short tells nothing of
// one that has more, in either direction a skill wants.
TEST_F(SkillSearchTest, ADoublingBodyShortOfPointsTellsNothingOfOneWithMore) {
    const int avoided = Level(guard, 3);
    Piece(kBody, 0, 30, {{attack, 9}}, true);
    CEquipData* strong = Piece(kBody, 0, 20, {{attack, 10}, {guard, 2}}, true);
    Piece(kBody, 0, 10, {{attack, 10}, {guard, 3}}, true);
    Choose({attack10});
    Avoid(avoided);
    condition.exactFitting = true;
    Run();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(engine.results[0]->pieces[kBody], strong);
}

// Minus one in five chosen skills with a slot field of 31 packs to the doubling key's bits; read
// as a doubling piece, the head would count the body's points instead of its own minus points.
TEST_F(SkillSearchTest, OnlyADoublingPieceGetsTheDoublingKey) {
    CEquipData* head = Piece(kHead, -1, 1, {});
    CEquipData* body = Piece(kBody, 0, 1, {});
    for (int k = 0; k < kMaxRuleFittingSkills; ++k) {
        const int system = engine.database.AddSkillSystem("s" + std::to_string(k));
        Deco(1, {{system, 1}});
        condition.skillRows[k] = Level(system, 1);
        Fill(head->skillId + k, head->skillPoints + k, 0, {{system, -1}});
        Fill(body->skillId + k, body->skillPoints + k, 0, {{system, 1}});
    }
    condition.skillCount = kMaxRuleFittingSkills;
    Run();
    EXPECT_NE(head->groupKey, kDoublingKey);
    EXPECT_EQ(KeySlots(head->groupKey), 0);
    EXPECT_TRUE(engine.results.empty()) << "every total is 0, below the thresholds of 1";
}

TEST_F(SkillSearchTest, AFixedPieceFromOutsideTheTablesStopsTheSearch) {
    CEquipData stray;
    condition.fixed.pieces[kBody] = &stray;
    engine.results.push_back(std::make_unique<CEquipSet>());
    Run();
    EXPECT_EQ(sink.messages, std::vector<std::string>{"装備リストの作成に失敗しました"});
    EXPECT_TRUE(engine.results.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(engine.running, 0);
}

// Six rows are for the complete fitting only, eleven (a count the rows cannot hold) for none; a
// refused search or refine keeps the listed sets and posts nothing.
TEST_F(SkillSearchTest, TooManySkillRowsForTheFittingAreRefused) {
    for (int k = 0; k < kMaxChosenSkills; ++k) {
        condition.skillRows[k] = Level(engine.database.AddSkillSystem("s" + std::to_string(k)), 1);
    }
    const struct {
        int rows;
        int exact;
        const char* message;
    } cases[] = {{6, 0, kTooManyForRuleFitting}, {11, 1, kTooManySkills}};
    for (const auto& c : cases) {
        condition.skillCount = c.rows;
        condition.exactFitting = c.exact;
        sink.messages.clear();
        engine.results.clear();
        engine.results.push_back(std::make_unique<CEquipSet>());
        Run();
        engine.RefineSearch(condition);
        EXPECT_EQ(sink.messages, std::vector<std::string>(2, c.message)) << c.rows;
        EXPECT_EQ(engine.results.size(), 1U) << c.rows;
        EXPECT_TRUE(host.messages.empty()) << c.rows;
    }
}

} // namespace
