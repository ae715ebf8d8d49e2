#include <string>

#include <gtest/gtest.h>

#include "engine/group_key.h"
#include "search_fixture.h"

namespace {

class CandidatesTest : public SearchFixture {};

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
