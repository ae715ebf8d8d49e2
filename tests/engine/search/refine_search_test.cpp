#include <gtest/gtest.h>

#include "engine/support/exhaustive_checker.h"
#include "engine/support/search_fixture.h"

namespace {

class RefineSearchTest : public SearchFixture {
protected:
    RefineSearchTest() {
        attackOne = Deco(1, {{attack, 1}});
        guardTwo = Deco(2, {{guard, 3}, {attack, -1}});
    }

    // A previous result: five pieces of `slots` slots, the head with its attack and defence.
    CEquipSet* AddResult(int headAttack, int slots, int defense) {
        auto set = std::make_unique<CEquipSet>();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            set->pieces[slot] = slot == kHead ? Piece(slot, slots, defense, {{attack, headAttack}})
                                              : Piece(slot, slots, 0, {});
        }
        engine.results.push_back(std::move(set));
        return engine.results.back().get();
    }

    void Refine() {
        engine.RefineSearch(condition);
        ExpectValidResults(engine, condition, true);
    }

    CDecoData* attackOne = nullptr;
    CDecoData* guardTwo = nullptr;
};

TEST_F(RefineSearchTest, WithoutSkillsOnlyDefenceAboveTheMinimumPasses) {
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
    EXPECT_EQ(engine.running, 0);
}

TEST_F(RefineSearchTest, DecorationsGoIntoTheSlotsThatAreLeft) {
    CEquipSet* met = AddResult(10, 0, 1);
    AddResult(9, 0, 1); // a point short and no slot to add it
    CEquipSet* roomy = AddResult(7, 1, 1);
    roomy->decos[kHead][0] = attackOne;
    Choose({attack10});
    Refine();
    ASSERT_EQ(engine.results.size(), 2U);
    EXPECT_EQ(engine.results[0].get(), met);
    EXPECT_EQ(engine.results[1].get(), roomy);
    EXPECT_EQ(roomy->decos[kHead][1], nullptr);
    EXPECT_EQ(roomy->decos[kBody][0], attackOne);
    EXPECT_EQ(roomy->decos[kArm][0], attackOne);
    EXPECT_EQ(Count(*roomy, attackOne), 3);
}

// The head has a free slot that a second copy of its fixed decoration would take.
TEST_F(RefineSearchTest, FixedDecorationsAreNotAddedAgain) {
    CEquipSet* set = AddResult(9, 2, 1);
    set->decos[kHead][0] = attackOne;
    condition.fixed.pieces[kHead] = set->pieces[kHead];
    condition.fixed.decos[kHead][0] = attackOne;
    Choose({attack10});
    Refine();
    ASSERT_EQ(engine.results.size(), 1U);
    EXPECT_EQ(Count(*set, attackOne), 1);
}

TEST_F(RefineSearchTest, WeaponDecorationsCountAndMustStillFitTheWeapon) {
    // The weapon's guard decoration costs an attack point the head cannot spare.
    AddResult(10, 0, 1)->decos[kWeaponPosition][0] = guardTwo;
    condition.weaponSlots = 2;
    Choose({attack10});
    Refine();
    EXPECT_TRUE(engine.results.empty());

    AddResult(11, 0, 1)->decos[kWeaponPosition][0] = guardTwo;
    Refine();
    ASSERT_EQ(engine.results.size(), 1U);
    condition.weaponSlots = 1;
    Refine();
    EXPECT_TRUE(engine.results.empty()) << "a size-2 decoration in a 1-slot weapon";
}

} // namespace
