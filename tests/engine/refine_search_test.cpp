#include <random>

#include <gtest/gtest.h>

#include "random_tables.h"
#include "search_checker.h"
#include "search_fixture.h"

namespace {

class RefineSearchTest : public SearchFixture {
protected:
    RefineSearchTest() {
        attack = System("attack");
        guard = System("guard");
        attack10 = Level(attack, 10);
        guard10 = Level(guard, 10);
        attackOne = Deco(1, {{attack, 1}});
        guardTwo = Deco(2, {{guard, 3}, {attack, -1}});
    }

    // A previous result: five pieces with the given slots each and the given attack points on
    // the head.
    CEquipSet* AddResult(int headAttack, int slots, int defense) {
        auto set = std::make_unique<CEquipSet>();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            set->pieces[slot] = Piece(slot, slots, slot == kHead ? defense : 0,
                                      {{attack, slot == kHead ? headAttack : 0}});
        }
        engine.results.push_back(std::move(set));
        return engine.results.back().get();
    }

    void Refine() {
        engine.RefineSearch(condition);
        ExpectValidResults(engine, condition, true);
    }

    int attack = 0;
    int guard = 0;
    int attack10 = 0;
    int guard10 = 0;
    CDecoData* attackOne = nullptr;
    CDecoData* guardTwo = nullptr;
};

TEST_F(RefineSearchTest, WithoutSkillsOnlyTheDefenceFiltersAndAnEqualTotalIsDropped) {
    CEquipSet* strong = AddResult(0, 0, 25);
    AddResult(0, 0, 20);
    CEquipSet* alsoStrong = AddResult(0, 0, 21);
    condition.minDefense = 20;
    Refine();
    ASSERT_EQ(engine.results.size(), 2U);
    EXPECT_EQ(engine.results[0].get(), strong);
    EXPECT_EQ(engine.results[1].get(), alsoStrong);
    EXPECT_EQ(engine.visited, 3U);
    EXPECT_EQ(engine.totalCombos, 3U);
    EXPECT_EQ(engine.hitCount, 2U);
    ASSERT_EQ(host.messages.size(), 1U);
    EXPECT_EQ(host.messages[0].id, SearchHost::kSearchFinished);
    EXPECT_EQ(host.messages[0].visited, 3U);
    EXPECT_EQ(engine.running, 0);
}

TEST_F(RefineSearchTest, DecorationsGoIntoTheFreeSlotsThatAreLeft) {
    CEquipSet* full = AddResult(10, 0, 1);
    AddResult(9, 0, 1); // a point short and no slot to add it
    CEquipSet* roomy = AddResult(7, 1, 1);
    roomy->decos[kHead][0] = attackOne;
    Choose({attack10});
    Refine();
    ASSERT_EQ(engine.results.size(), 2U);
    EXPECT_EQ(engine.results[0].get(), full);
    EXPECT_EQ(engine.results[1].get(), roomy);
    EXPECT_EQ(roomy->decos[kHead][0], attackOne);
    EXPECT_EQ(roomy->decos[kHead][1], nullptr) << "the head's one slot was taken";
    EXPECT_EQ(roomy->decos[kBody][0], attackOne);
    EXPECT_EQ(roomy->decos[kArm][0], attackOne);
    EXPECT_EQ(roomy->decos[kWaist][0], nullptr);
}

TEST_F(RefineSearchTest, WeaponDecorationsCountAndMustStillFitTheWeapon) {
    // The weapon's guard decoration costs an attack point that the head cannot spare.
    CEquipSet* set = AddResult(10, 0, 1);
    set->decos[kWeaponPosition][0] = guardTwo;
    condition.weaponSlots = 2;
    Choose({attack10});
    Refine();
    EXPECT_TRUE(engine.results.empty());

    set = AddResult(11, 0, 1);
    set->decos[kWeaponPosition][0] = guardTwo;
    Refine();
    ASSERT_EQ(engine.results.size(), 1U);

    condition.weaponSlots = 1;
    Refine();
    EXPECT_TRUE(engine.results.empty()) << "a size-2 decoration in a 1-slot weapon";
}

TEST_F(RefineSearchTest, FixedDecorationsAreNotAddedAgain) {
    CEquipSet* set = AddResult(9, 1, 1);
    condition.fixed.pieces[kHead] = set->pieces[kHead];
    condition.fixed.decos[kHead][0] = attackOne;
    set->decos[kHead][0] = attackOne;
    Choose({attack10});
    Refine();
    ASSERT_EQ(engine.results.size(), 1U);
    int count = 0;
    for (const auto& position : set->decos) {
        count += static_cast<int>(std::count(std::begin(position), std::end(position), attackOne));
    }
    EXPECT_EQ(count, 1);
}

TEST_F(RefineSearchTest, ABadSkillRowLeavesTheResultsAlone) {
    AddResult(0, 0, 1);
    condition.skillCount = 1;
    condition.skillRows[0] = -1;
    engine.RefineSearch(condition);
    EXPECT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"スキル/装飾品テーブルの作成に失敗しました"});
    EXPECT_TRUE(host.messages.empty());
}

TEST(RefineSearchRandomTest, RefinedSetsAreSoundForTheNewSkills) {
    std::mt19937 random(4711);
    int refinedSets = 0;
    for (int round = 0; round < 300; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        engine.Search(condition);
        const std::size_t before = engine.results.size();
        // Refine by one more level of a system the first search did not choose.
        CSearchCondition refine = condition;
        refine.fixed = CEquipSet{};
        refine.excludedSkillCount = 0;
        refine.skillCount = 1;
        refine.skillRows[0] = (condition.skillRows[0] + 3) % 9;
        engine.RefineSearch(refine);
        ASSERT_EQ(engine.visited, before);
        ExpectValidResults(engine, refine, true);
        refinedSets += static_cast<int>(engine.results.size());
        ASSERT_FALSE(::testing::Test::HasFailure()) << "round " << round;
    }
    EXPECT_GT(refinedSets, 0);
}

} // namespace
