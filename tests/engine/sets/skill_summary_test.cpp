#include <string>

#include <gtest/gtest.h>

#include "engine/sets/equip_set.h"
#include "engine/support/search_fixture.h"

namespace {

class SkillSummaryTest : public SearchFixture {
protected:
    int Summarize(const CEquipSet& set) {
        return set.Summarize(rows, engine.database.Skills(), engine.database.SkillSystems());
    }
    const char* Name(int id) const { return engine.database.SkillSystems().Name(id); }

    SkillRowTable rows;
};

TEST_F(SkillSummaryTest, ChoosesTheDeepestLevelReachedAndSortsInactiveRowsLast) {
    const int attack15 = Level(attack, 15);
    const int guardMinus10 = Level(guard, -10);
    Level(guard, -15);
    CEquipSet set;
    set.pieces[kHead] = Piece(kHead, 3, 1, {{attack, 7}, {guard, -6}});
    set.pieces[kBody] = Piece(kBody, 3, 1, {{attack, 9}, {guard, -6}});
    ASSERT_EQ(Summarize(set), 2);
    EXPECT_EQ(rows[0].systemId, attack);
    EXPECT_EQ(rows[0].total, 16);
    EXPECT_EQ(rows[0].skillIndex, attack15);
    EXPECT_EQ(rows[1].total, -12);
    EXPECT_EQ(rows[1].skillIndex, guardMinus10) << "not -15";

    // Zero points give no row; an inactive total sorts after an active one, whatever its size.
    set.pieces[kBody] = Piece(kBody, 3, 1, {{engine.database.AddSkillSystem("zero"), 0}});
    set.pieces[kArm] = Piece(kArm, 3, 1, {{guard, -5}});
    set.pieces[kHead]->skillPoints[0] = 3;
    ASSERT_EQ(Summarize(set), 2);
    EXPECT_EQ(rows[0].systemId, guard);
    EXPECT_EQ(rows[0].skillIndex, guardMinus10);
    EXPECT_EQ(rows[1].skillIndex, -1);
    EXPECT_EQ(rows[1].points[kHead], 3);
}

TEST_F(SkillSummaryTest, ADoublingPieceCountsTheBodyAndItsDecorationsAgain) {
    CEquipSet set;
    set.pieces[kBody] = Piece(kBody, 3, 1, {{attack, 4}});
    set.pieces[kWaist] = Piece(kWaist, 3, 1, {{attack, 9}}, true);
    set.decos[kBody][0] = Deco(1, {{attack, 2}});
    set.decos[kWaist][0] = Deco(1, {{attack, 1}});
    set.decos[kWeaponPosition][0] = Deco(1, {{attack, 1}});
    const int count = Summarize(set);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(rows[0].systemId, attack);
    EXPECT_EQ(rows[0].points[kBody], 12);
    EXPECT_EQ(rows[0].points[kWaist], 1); // its own points do not count, its decoration does
    EXPECT_EQ(rows[0].points[kWeaponPosition], 1);
    EXPECT_EQ(rows[0].total, 14);
    EXPECT_EQ(rows[0].doubling[kWaist], 1);
    const SkillRow& marker = rows[count - 1];
    EXPECT_STREQ(Name(marker.systemId), sjis::kBodyDoubling);
    EXPECT_EQ(marker.doubling[kWaist], 1);
    EXPECT_EQ(marker.doubling[kBody], 0);
    EXPECT_EQ(marker.skillIndex, -1);
    EXPECT_EQ(marker.total, 0);
}

TEST_F(SkillSummaryTest, NeverWritesBeyondItsCapacity) {
    CEquipSet set;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CEquipData* piece = set.pieces[slot] = Piece(slot, 3, 1, {}, slot == kLeg);
        for (int entry = piece->bodyDoubling; entry < 5; ++entry) {
            piece->skillId[entry] =
                engine.database.AddSkillSystem("s" + std::to_string(slot * 5 + entry));
            piece->skillPoints[entry] = 1;
        }
    }
    for (int position = 0; position < kPositionCount; ++position) {
        for (int entry = 0; entry < 3; ++entry) {
            const std::string name = std::to_string(position * 3 + entry);
            set.decos[position][entry] =
                Deco(1, {{engine.database.AddSkillSystem("d" + name), 1},
                         {engine.database.AddSkillSystem("e" + name), -1}});
        }
    }
    EXPECT_EQ(Summarize(set), kSkillRowCapacity);
    EXPECT_STREQ(Name(rows[kSkillRowCapacity - 1].systemId), sjis::kBodyDoubling);
}

} // namespace
