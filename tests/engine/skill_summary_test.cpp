#include <string>

#include <gtest/gtest.h>

#include "engine/equip_database.h"
#include "engine/equip_set.h"
#include "engine/sjis_text.h"
#include "engine/skill_systems.h"

namespace {

class SkillSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSkillSystems();
        attack = FindOrAddSkillSystem("attack");
        guard = FindOrAddSkillSystem("guard");
        AddLevel(attack, 10);
        AddLevel(attack, 15);
        AddLevel(guard, -10);
        AddLevel(guard, -15);
    }

    void AddLevel(int id, int threshold) {
        CSkillData skill;
        skill.systemId = id;
        skill.threshold = static_cast<std::int8_t>(threshold);
        database.AddSkill(skill);
    }

    CEquipData* AddPiece(int slot, int attackPoints, int guardPoints, bool doubling = false) {
        CEquipData piece;
        piece.kind = slot;
        piece.slots = 3;
        piece.skillId[0] = attack;
        piece.skillPoints[0] = attackPoints;
        piece.skillId[1] = guard;
        piece.skillPoints[1] = guardPoints;
        if (doubling) {
            piece.skillId[2] = FindOrAddSkillSystem(sjis::kBodyDoubling);
            piece.bodyDoubling = 1;
        }
        return &database.AddArmor(slot, piece);
    }

    CDecoData* AddDeco(int attackPoints) {
        CDecoData deco;
        deco.size = 1;
        deco.skillId[0] = attack;
        deco.skillPoints[0] = attackPoints;
        deco.skillId[1] = guard;
        return &database.AddDeco(deco);
    }

    int Summarize(const CEquipSet& set) { return set.Summarize(rows, database.Skills()); }

    CEquipDatabase database;
    SkillRowTable rows;
    int attack = 0;
    int guard = 0;
};

TEST_F(SkillSummaryTest, ChoosesTheDeepestLevelReachedAndSortsInactiveRowsLast) {
    CEquipSet set;
    set.pieces[kHead] = AddPiece(kHead, 7, -6);
    set.pieces[kBody] = AddPiece(kBody, 9, -6);
    ASSERT_EQ(Summarize(set), 2);
    EXPECT_EQ(rows[0].systemId, attack);
    EXPECT_EQ(rows[0].total, 16);
    EXPECT_EQ(rows[0].skillIndex, 1); // +15
    EXPECT_EQ(rows[1].total, -12);
    EXPECT_EQ(rows[1].skillIndex, 2); // -10, not -15

    // Zero points give no row; an inactive total sorts after an active one, whatever its size.
    set.pieces[kBody] = AddPiece(kBody, 0, 0);
    set.pieces[kBody]->skillId[2] = FindOrAddSkillSystem("zero");
    set.pieces[kArm] = AddPiece(kArm, 0, -5);
    set.pieces[kHead]->skillPoints[0] = 3;
    ASSERT_EQ(Summarize(set), 2);
    EXPECT_EQ(rows[0].systemId, guard);
    EXPECT_EQ(rows[0].skillIndex, 2);
    EXPECT_EQ(rows[1].skillIndex, -1);
    EXPECT_EQ(rows[1].points[kHead], 3);
}

TEST_F(SkillSummaryTest, ADoublingPieceCountsTheBodyAndItsDecorationsAgain) {
    CEquipSet set;
    set.pieces[kBody] = AddPiece(kBody, 4, 0);
    set.pieces[kWaist] = AddPiece(kWaist, 9, 0, true);
    set.decos[kBody][0] = AddDeco(2);
    set.decos[kWaist][0] = AddDeco(1);
    set.decos[kWeaponPosition][0] = AddDeco(1);
    const int count = Summarize(set);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(rows[0].systemId, attack);
    EXPECT_EQ(rows[0].points[kBody], 12);
    EXPECT_EQ(rows[0].points[kWaist], 1); // its own points do not count, its decoration does
    EXPECT_EQ(rows[0].points[kWeaponPosition], 1);
    EXPECT_EQ(rows[0].total, 14);
    EXPECT_EQ(rows[0].doubling[kWaist], 1);
    const SkillRow& marker = rows[count - 1];
    EXPECT_STREQ(SkillSystemName(marker.systemId), sjis::kBodyDoubling);
    EXPECT_EQ(marker.doubling[kWaist], 1);
    EXPECT_EQ(marker.doubling[kBody], 0);
    EXPECT_EQ(marker.skillIndex, -1);
    EXPECT_EQ(marker.total, 0);
}

TEST_F(SkillSummaryTest, NeverWritesBeyondItsCapacity) {
    CEquipSet set;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CEquipData piece;
        for (int entry = 0; entry < 5; ++entry) {
            piece.skillId[entry] = FindOrAddSkillSystem("s" + std::to_string(slot * 5 + entry));
            piece.skillPoints[entry] = 1;
        }
        if (slot == kLeg) {
            piece.skillId[4] = FindOrAddSkillSystem(sjis::kBodyDoubling);
            piece.bodyDoubling = 1;
        }
        set.pieces[slot] = &database.AddArmor(slot, piece);
    }
    for (int position = 0; position < kPositionCount; ++position) {
        for (int entry = 0; entry < 3; ++entry) {
            CDecoData deco;
            deco.size = 1;
            deco.skillId[0] = FindOrAddSkillSystem("d" + std::to_string(position * 3 + entry));
            deco.skillPoints[0] = 1;
            deco.skillId[1] = FindOrAddSkillSystem("e" + std::to_string(position * 3 + entry));
            deco.skillPoints[1] = -1;
            set.decos[position][entry] = &database.AddDeco(deco);
        }
    }
    EXPECT_EQ(Summarize(set), kSkillRowCapacity);
    EXPECT_STREQ(SkillSystemName(rows[kSkillRowCapacity - 1].systemId), sjis::kBodyDoubling);
}

} // namespace
