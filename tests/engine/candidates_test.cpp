#include <string>

#include <gtest/gtest.h>

#include "engine/candidates.h"
#include "engine/group_key.h"
#include "search_fixture.h"

namespace {

class CandidatesTest : public SearchFixture {
protected:
    CandidatesTest() { Choose({attack10, guard10}); }

    void Build() {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (engine.database.Armor(slot).empty()) {
                Piece(slot, 0, 1, {});
            }
        }
        ASSERT_EQ(BuildSkillTable(condition, engine.database, table), 1);
        ASSERT_EQ(BuildCandidates(condition, engine.database, table, lists), 1);
    }

    SkillTable table;
    CandidateList lists[kSlotCount];
};

TEST_F(CandidatesTest, FiltersDropPiecesAndAFixedPieceBypassesThem) {
    CEquipData* slotsOnly = Piece(kLeg, 3, 1, {});
    CEquipData* doubling = Piece(kLeg, 0, 1, {}, true);
    Piece(kLeg, 1, 1, {{attack, 1}})->job = 2;
    Piece(kLeg, 1, 1, {{attack, 1}})->sex = 2;
    Piece(kLeg, 1, 1, {{attack, 1}})->rarity = 7;
    Piece(kLeg, 1, 1, {{attack, 1}})->rarity = 11;
    Piece(kLeg, 1, 1, {{attack, 16}}); // beyond what a key field holds
    CEquipData* banned = Piece(kLeg, 1, 1, {{attack, 2}});
    CEquipData* fixedHead = Piece(kHead, 1, 1, {});
    fixedHead->rarity = 7;
    Piece(kHead, 1, 1, {{attack, 5}});
    condition.rarityAllowed[7] = 0;
    condition.excluded[kLeg] = {banned};
    condition.excluded[kHead] = {fixedHead};
    condition.fixed.pieces[kHead] = fixedHead;
    Build();
    EXPECT_EQ(lists[kHead], CandidateList{fixedHead});
    EXPECT_EQ(lists[kLeg], (CandidateList{slotsOnly, doubling}));

    condition.fastSearch = 1;
    Build();
    EXPECT_EQ(lists[kLeg], CandidateList{doubling});
    condition.excludeDoubling = 1;
    Build();
    EXPECT_TRUE(lists[kLeg].empty());
    condition.excludeDoubling = 0;
    condition.fastSearch = 0;
    condition.ownedOnly = 1;
    condition.owned[kLeg] = {slotsOnly};
    Build();
    EXPECT_EQ(lists[kLeg], CandidateList{slotsOnly});
}

// Minus one in five chosen skills with a slot field of 31 packs to the doubling key's bits; read
// as a doubling piece, the head would count the body's points instead of its own minus points.
TEST_F(CandidatesTest, OnlyADoublingPieceGetsTheDoublingKey) {
    CEquipData* head = Piece(kHead, -1, 1, {});
    CEquipData* body = Piece(kBody, 0, 1, {});
    for (int k = 0; k < kMaxChosenSkills; ++k) {
        const int system = FindOrAddSkillSystem("s" + std::to_string(k));
        Deco(1, {{system, 1}});
        condition.skillRows[k] = Level(system, 1);
        Fill(head->skillId + k, head->skillPoints + k, 0, {{system, -1}});
        Fill(body->skillId + k, body->skillPoints + k, 0, {{system, 1}});
    }
    condition.skillCount = kMaxChosenSkills;
    Run();
    EXPECT_NE(head->groupKey, kDoublingKey);
    EXPECT_EQ(KeySlots(head->groupKey), 0);
    EXPECT_TRUE(engine.results.empty()) << "every total is 0, below the thresholds of 1";
}

TEST_F(CandidatesTest, AFixedPieceFromOutsideTheTablesStopsTheSearch) {
    CEquipData stray;
    condition.fixed.pieces[kBody] = &stray;
    engine.results.push_back(std::make_unique<CEquipSet>());
    Run();
    EXPECT_EQ(sink.messages, std::vector<std::string>{"装備リストの作成に失敗しました"});
    EXPECT_TRUE(engine.results.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(engine.running, 0);
}

} // namespace
