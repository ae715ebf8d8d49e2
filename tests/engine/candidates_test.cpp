#include <gtest/gtest.h>

#include "engine/candidates.h"
#include "engine/group_key.h"
#include "search_fixture.h"

namespace {

class CandidatesTest : public SearchFixture {
protected:
    CandidatesTest() {
        attack = System("attack");
        guard = System("guard");
        Choose({Level(attack, 10), Level(guard, 10)});
        Deco(1, {{attack, 1}});
        Deco(1, {{guard, 1}});
        Deco(3, {{guard, 4}}); // guard costs more, so attack is chosen skill 0
    }

    void Build() {
        ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
        ASSERT_EQ(BuildCandidates(condition, engine.database, table, lists), 1);
        GroupCandidates(lists, table, groups);
    }

    int attack = 0;
    int guard = 0;
    SkillTable table;
    CandidateList lists[kSlotCount];
    GroupList groups[kSlotCount];
};

TEST_F(CandidatesTest, KeysPackSignedPointsAndSlots) {
    CEquipData* minus = Piece(kHead, 1, 5, {{attack, -2}, {guard, 3}});
    CEquipData* doubling = Piece(kHead, 2, 9, {{attack, 7}}, true);
    FillEmptySlots();
    Build();
    ASSERT_EQ(table.chosenIds[0], attack);
    EXPECT_EQ((minus->groupKey >> 25) & 31U, 30U);
    EXPECT_EQ(KeyPoints(minus->groupKey, 0), -2);
    EXPECT_EQ(KeyPoints(minus->groupKey, 1), 3);
    EXPECT_EQ(KeySlots(minus->groupKey), 1);
    EXPECT_EQ(minus->groupKey & ~0x3FFFFFFFU, 0U);
    EXPECT_EQ(doubling->groupKey, kDoublingKey);
    ASSERT_EQ(groups[kHead].size(), 2U);
    EXPECT_EQ(groups[kHead][0].key, kDoublingKey);
    EXPECT_EQ(KeySlots(kDoublingKey), 0);
}

TEST_F(CandidatesTest, EquivalentPiecesGroupAdjacentMoreSlotsFirst) {
    Piece(kArm, 2, 10, {{attack, 2}});
    Piece(kArm, 3, 12, {{attack, 2}});
    Piece(kArm, 3, 30, {{attack, 2}});
    Piece(kArm, 1, 50, {{attack, 1}});
    Piece(kArm, 2, 40, {{attack, 3}});
    FillEmptySlots();
    Build();
    const GroupList& arm = groups[kArm];
    ASSERT_EQ(arm.size(), 4U);
    EXPECT_EQ(KeyPoints(arm[0].key, 0), 3);
    EXPECT_EQ(arm[1].slots, 3);
    EXPECT_EQ(arm[1].count, 2);
    EXPECT_EQ(arm[1].bestDefense, 30);
    EXPECT_EQ(arm[2].slots, 2);
    EXPECT_TRUE(AreEquivalent(arm[1].key, arm[2].key));
    EXPECT_FALSE(AreEquivalent(arm[0].key, arm[1].key));
    EXPECT_FALSE(AreEquivalent(kNoFailedKey, arm[2].key));
    ASSERT_EQ(lists[kArm].size(), 5U);
    for (std::size_t i = 1; i < lists[kArm].size(); ++i) {
        EXPECT_GE(lists[kArm][i - 1]->EffectiveDefense(), lists[kArm][i]->EffectiveDefense());
    }
}

TEST_F(CandidatesTest, FiltersApplyInOrderAndFixedPiecesBypassThem) {
    CEquipData* plain = Piece(kLeg, 3, 1, {});
    CEquipData* doubling = Piece(kLeg, 0, 1, {}, true);
    CEquipData* gunner = Piece(kLeg, 1, 1, {{attack, 1}});
    gunner->job = 2;
    CEquipData* female = Piece(kLeg, 1, 1, {{attack, 1}});
    female->sex = 2;
    CEquipData* rare = Piece(kLeg, 1, 1, {{attack, 1}});
    rare->rarity = 7;
    CEquipData* offScale = Piece(kLeg, 1, 1, {{attack, 1}});
    offScale->rarity = 11;
    CEquipData* banned = Piece(kLeg, 1, 1, {{attack, 2}});
    Piece(kLeg, 1, 1, {{attack, 16}}); // beyond what a key can hold
    CEquipData* fixedHead = Piece(kHead, 1, 1, {});
    fixedHead->rarity = 7;
    Piece(kHead, 1, 1, {{attack, 5}});
    FillEmptySlots();
    condition.rarityAllowed[7] = 0;
    condition.excluded[kLeg] = {banned};
    condition.excluded[kHead] = {fixedHead};
    condition.fixed.pieces[kHead] = fixedHead;
    Build();
    EXPECT_EQ(lists[kHead], CandidateList{fixedHead});
    EXPECT_EQ(groups[kHead].size(), 1U);
    // Without fast search the slot-only piece stays; the wrong job, sex, rarity and range go.
    EXPECT_EQ(lists[kLeg].size(), 2U);

    condition.fastSearch = 1;
    condition.excludeDoubling = 1;
    Build();
    EXPECT_TRUE(lists[kLeg].empty()) << plain->name << doubling->name;

    condition.excludeDoubling = 0;
    condition.ownedOnly = 1;
    condition.owned[kLeg] = {doubling};
    Build();
    EXPECT_EQ(lists[kLeg], CandidateList{doubling});
}

TEST_F(CandidatesTest, AFixedPieceFromElsewhereIsRefused) {
    CEquipData stray;
    FillEmptySlots();
    condition.fixed.pieces[kBody] = &stray;
    ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
    EXPECT_EQ(BuildCandidates(condition, engine.database, table, lists), 0);

    engine.results.push_back(std::make_unique<CEquipSet>());
    engine.Search(condition);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"装備リストの作成に失敗しました"});
    EXPECT_TRUE(engine.results.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(engine.running, 0);
}

} // namespace
