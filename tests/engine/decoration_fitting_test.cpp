#include <gtest/gtest.h>

#include "engine/candidates.h"
#include "engine/decoration_fitting.h"
#include "engine/group_key.h"
#include "search_checker.h"
#include "search_fixture.h"

namespace {

class FittingTest : public SearchFixture {
protected:
    FittingTest() {
        attack = System("attack");
        guard = System("guard");
        attack10 = Level(attack, 10);
        guard10 = Level(guard, 10);
    }

    // Searches with exactly one piece per slot and returns the single set found, if any.
    const CEquipSet* SearchOne() {
        FillEmptySlots();
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        EXPECT_LE(engine.results.size(), 1U);
        return engine.results.empty() ? nullptr : engine.results[0].get();
    }

    int Count(const CEquipSet& set, const CDecoData* deco) const {
        int count = 0;
        for (const auto& position : set.decos) {
            count += static_cast<int>(std::count(std::begin(position), std::end(position), deco));
        }
        return count;
    }

    int attack = 0;
    int guard = 0;
    int attack10 = 0;
    int guard10 = 0;
};

TEST_F(FittingTest, SkillTableOrdersByCostAndKeepsOneDecorationPerSize) {
    Deco(1, {{attack, 1}, {guard, -1}});
    CDecoData* lastOne = Deco(1, {{attack, 2}});
    CDecoData* three = Deco(3, {{attack, 4}});
    Deco(2, {{guard, 1}});
    CDecoData* guardOne = Deco(1, {{guard, 1}});
    CDecoData* banned = Deco(3, {{guard, 5}});
    condition.excludedDecos = {banned};
    Choose({attack10, guard10});
    SkillTable table;
    ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
    // guard: 2 + 1 = 3, attack: 1 + 1 + 5 = 7.
    EXPECT_EQ(table.chosenIds[0], guard);
    EXPECT_EQ(table.decoFor[1][1], lastOne);
    EXPECT_EQ(table.decoPoints[1][1], 2);
    EXPECT_EQ(table.decoMinus[1][0][1], 0) << "minus points of the replaced decoration";
    EXPECT_EQ(table.decoFor[1][3], three);
    EXPECT_EQ(table.decoFor[0][2], nullptr) << "worth 1 against two size-1 decorations worth 2";
    EXPECT_EQ(table.decoFor[0][1], guardOne);
    EXPECT_EQ(table.decoFor[0][3], nullptr);
    EXPECT_EQ(three->skillIndex, 1);
    EXPECT_EQ(banned->skillIndex, -1);

    // A size-2 decoration worth more than two size-1 ones stays; ownership limits the table.
    Deco(2, {{guard, 3}});
    condition.ownedOnly = 1;
    condition.ownedDecos = {lastOne, engine.database.Decos().back()};
    ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
    EXPECT_EQ(table.chosenIds[0], attack);
    EXPECT_EQ(table.decoFor[1][2], engine.database.Decos().back());
    EXPECT_EQ(three->skillIndex, -1);
}

TEST_F(FittingTest, AnInvalidSkillRowStopsTheSearchWithTheTableMessage) {
    FillEmptySlots();
    condition.skillCount = 1;
    condition.skillRows[0] = 99;
    engine.Search(condition);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"スキル/装飾品テーブルの作成に失敗しました"});
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FittingTest, DecorationsGoToExactHoldersFirstThenTheTightestLarger) {
    CDecoData* one = Deco(1, {{attack, 1}});
    Piece(kHead, 1, 1, {{attack, 3}});
    Piece(kBody, 3, 1, {{attack, 2}});
    Piece(kArm, 2, 1, {{attack, 2}});
    Piece(kWaist, 1, 1, {});
    Choose({attack10});
    const CEquipSet* set = SearchOne();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->decos[kHead][0], one);
    EXPECT_EQ(set->decos[kWaist][0], one);
    EXPECT_EQ(set->decos[kArm][0], one);
    EXPECT_EQ(set->decos[kBody][0], nullptr);
    EXPECT_EQ(Count(*set, one), 3);
}

TEST_F(FittingTest, TheSlotPreCheckAssumesTwoPointsASlot) {
    Deco(1, {{attack, 3}});
    CEquipData* head = Piece(kHead, 2, 1, {{attack, 5}});
    FillEmptySlots();
    Choose({attack10});
    SkillTable table;
    ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
    DecorationFitter fitter(table, condition);
    FitRequest request;
    request.keys[kHead] = GroupKeyOf(*head, table);
    DecoBlock block;
    EXPECT_FALSE(fitter.FitDecorations(request, block));
    request.skipSlotCheck = true;
    EXPECT_TRUE(fitter.FitDecorations(request, block));
    EXPECT_NE(block.decos[kHead][1], nullptr);
}

TEST_F(FittingTest, AvoidedAndMinusLevels) {
    const int guardMinus = Level(guard, -5);
    Deco(1, {{attack, 2}, {guard, -3}});
    CDecoData* guardOne = Deco(1, {{guard, 2}});
    Piece(kHead, 3, 1, {{attack, 6}, {guard, 8}});
    CEquipData* body = Piece(kBody, 0, 1, {{guard, 8}});

    // Attack takes two decorations that cost 6 guard points: 16 - 6 leaves the avoided level
    // active, 14 - 6 does not.
    Choose({attack10});
    Avoid(guard10);
    EXPECT_EQ(SearchOne(), nullptr);
    body->skillPoints[0] = 6;
    EXPECT_NE(SearchOne(), nullptr);

    // A minus level that must be active is never reached through decorations.
    condition = CSearchCondition{};
    Choose({guardMinus});
    body->skillPoints[0] = -13;
    EXPECT_NE(SearchOne(), nullptr);
    body->skillPoints[0] = -12;
    EXPECT_EQ(SearchOne(), nullptr) << "guard -4 would need minus decorations";

    // An avoided minus level is lifted out with guard decorations: -7 + 2 + 2.
    condition = CSearchCondition{};
    Avoid(guardMinus);
    body->skillPoints[0] = -15;
    const CEquipSet* lifted = SearchOne();
    ASSERT_NE(lifted, nullptr);
    EXPECT_EQ(lifted->decos[kHead][1], guardOne);
    EXPECT_EQ(lifted->decos[kHead][2], nullptr);
}

TEST_F(FittingTest, BodyDecorationsCountOncePerDoublingPieceMore) {
    CDecoData* three = Deco(3, {{attack, 4}});
    Deco(1, {{attack, 1}});
    Piece(kBody, 3, 1, {{attack, 1}});
    Piece(kWaist, 2, 1, {}, true);
    Choose({attack10});
    const CEquipSet* set = SearchOne();
    ASSERT_NE(set, nullptr);
    // 1 + 1 from the body and its copy, and 4 + 4 from one decoration in the body.
    EXPECT_EQ(set->decos[kBody][0], three);
    EXPECT_EQ(set->decos[kWaist][0], nullptr) << "a doubling piece's own slots stay unused";
}

TEST_F(FittingTest, ThePairOfSizeTwoDecorationsStopsOnceTheNeedIsMet) {
    CDecoData* two = Deco(2, {{attack, 3}});
    Deco(3, {{attack, 4}});
    Deco(1, {{attack, 1}});
    Piece(kHead, 2, 1, {{attack, 4}});
    Piece(kArm, 2, 1, {});
    Choose({attack10});
    const CEquipSet* set = SearchOne();
    ASSERT_NE(set, nullptr) << "a size-1 decoration more than needed has no slot left";
    EXPECT_EQ(Count(*set, two), 2);
}

TEST_F(FittingTest, WithoutSmallerDecorationsTheLargerOneIsTaken) {
    CDecoData* three = Deco(3, {{attack, 5}});
    Piece(kHead, 3, 1, {{attack, 9}});
    Choose({attack10});
    const CEquipSet* set = SearchOne();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->decos[kHead][0], three);

    engine.database.Clear();
    ClearSkillSystems();
    attack = System("attack");
    condition.skillRows[0] = Level(attack, 10);
    CDecoData* two = Deco(2, {{attack, 3}});
    Piece(kHead, 2, 1, {{attack, 8}});
    const CEquipSet* second = SearchOne();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->decos[kHead][0], two);
}

TEST_F(FittingTest, DecorationsThatTakeFromEachOtherEndTheChoosing) {
    Deco(1, {{attack, 1}, {guard, -2}});
    Deco(1, {{guard, 1}, {attack, -2}});
    Piece(kHead, 3, 1, {{attack, 9}, {guard, 9}});
    Piece(kBody, 3, 1, {});
    Choose({attack10, guard10});
    EXPECT_EQ(SearchOne(), nullptr);
    EXPECT_EQ(engine.visited, engine.totalCombos);
}

// The body slots are filled first; a last slot goes to the skill still short, whose decoration
// takes two guard points from a guard total that was exactly met. Listing that set would show
// guard inactive.
TEST_F(FittingTest, DoublingFitsAreRecountedBeforeTheyCount) {
    Deco(1, {{attack, 1}, {guard, -1}});
    Piece(kBody, 3, 1, {{attack, 3}, {guard, 4}});
    Piece(kHead, 0, 1, {{attack, 3}, {guard, 2}});
    Piece(kWaist, 0, 1, {}, true);
    Choose({attack10, guard10});
    EXPECT_EQ(SearchOne(), nullptr);

    // With guard to spare the same fitting is a sound set.
    engine.database.Armor(kHead)[0]->skillPoints[1] = 4;
    EXPECT_NE(SearchOne(), nullptr);
}

} // namespace
