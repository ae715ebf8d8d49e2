#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/condition/group_key.h"
#include "engine/search/decoration_slot_floor.h"
#include "engine/support/prepared_tables.h"
#include "engine/support/random_tables.h"
#include "engine/support/search_fixture.h"

namespace {

// Asks the floor about every combination of groups from `level` down, in the walk's order.
// `sameGains` counts the groups under the body that give what an earlier sibling gives.
void ExpectFitsAsTheFloorSays(const DecorationSlotFloor& floor,
                              const GroupList (&groups)[kSlotCount], int level, GroupKey* keys,
                              int round, int& doublingBodies, int& sameGains) {
    for (std::size_t n = 0; n < groups[level].size(); ++n) {
        const CandidateGroup& group = groups[level][n];
        keys[level] = group.key;
        const bool shares = std::any_of(groups[level].begin(),
                                        groups[level].begin() + static_cast<std::ptrdiff_t>(n),
                                        [&](const CandidateGroup& earlier) {
                                            return earlier.key != kDoublingKey &&
                                                   group.key != kDoublingKey &&
                                                   AreEquivalent(earlier.key, group.key);
                                        });
        sameGains += level > kBody && shares ? 1 : 0;
        const int fewest = floor.FewestAbove(level + 1, keys);
        for (int slots = -1; slots <= 20; ++slots) {
            ASSERT_EQ(floor.FitsIn(level, keys, n, slots), slots >= 0 && fewest <= slots)
                << "round " << round << " level " << level << " slots " << slots;
        }
        if (floor.OnlyGrows()) {
            ASSERT_LE(floor.FewestAbove(level, keys), fewest)
                << "round " << round << " level " << level;
        }
        doublingBodies += group.key == kDoublingKey ? 1 : 0;
        if (level + 1 < kSlotCount) {
            ExpectFitsAsTheFloorSays(floor, groups, level + 1, keys, round, doublingBodies,
                                     sameGains);
        }
    }
}

// Whether the floor of some groups fits in some slots is answered without working the floor out
// where it can be, and once for siblings that give the same: the answer is still whether the
// floor is at most those slots, for every level and for siblings with doubling pieces beside
// them. Where the floor only grows, none is below the floor of the groups above it.
TEST(DecorationSlotFloorTest, FitsExactlyWhereTheFloorIsAtMostTheSlots) {
    std::mt19937 random(8080);
    int doublings = 0;
    int sameGains = 0;
    int growing = 0;
    for (int round = 0; round < 200 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        condition.exactFitting = 1;
        condition.rankKey = RankKey::kFreeSlots;
        const PreparedTables prepared(condition, engine.database);
        const DecorationSlotFloor floor(condition, prepared.skills, prepared.groups,
                                        prepared.exact);
        GroupKey keys[kSlotCount] = {};
        ExpectFitsAsTheFloorSays(floor, prepared.groups, 0, keys, round, doublings, sameGains);
        growing += floor.OnlyGrows() ? 1 : 0;
    }
    EXPECT_GT(doublings, 50) << "the tables no longer hold doubling pieces";
    EXPECT_GT(sameGains, 50) << "no siblings give the same";
    EXPECT_GT(growing, 50) << "every table has decorations serving two skills";
}

// One decoration serves attack and guard: where both lack, their slots overlap. The waist piece
// without points leaves attack, guard and mind lacking, met in the slots of one skill, while the
// guard piece leaves attack and mind lacking, met in the slots of both; the doubling leg makes
// the body count twice, so the waist pieces' floors are weighed with the body filled. The guard
// piece's floor is its own, not that of the weaker piece beside it.
using SharedDecorationFloorTest = SearchFixture;

TEST_F(SharedDecorationFloorTest, AStrongerSiblingMayNeedMoreSlotsThanTheWeakest) {
    const int mind = engine.database.AddSkillSystem("mind");
    Choose({Level(attack, 3), Level(guard, 3), Level(mind, 3)});
    Deco(1, {{attack, 1}, {guard, 1}});
    Deco(1, {{mind, 1}});
    Piece(kWaist, 0, 1, {});
    Piece(kWaist, 0, 1, {{guard, 3}});
    Piece(kLeg, 0, 1, {}, true);
    for (int slot = kHead; slot <= kArm; ++slot) {
        Piece(slot, 0, 1, {});
    }
    condition.exactFitting = 1;
    condition.rankKey = RankKey::kFreeSlots;
    const PreparedTables prepared(condition, engine.database);
    const DecorationSlotFloor floor(condition, prepared.skills, prepared.groups, prepared.exact);
    ASSERT_FALSE(floor.OnlyGrows());
    GroupKey keys[kSlotCount] = {};
    for (int slot = kHead; slot <= kArm; ++slot) {
        keys[slot] = prepared.groups[slot].front().key;
    }
    const GroupList& waists = prepared.groups[kWaist];
    const auto guarding = std::find_if(waists.begin(), waists.end(), [](const CandidateGroup& g) {
        return g.key != kDoublingKey && KeySlots(g.key) == 0 && g.key != 0;
    });
    ASSERT_NE(guarding, waists.end());
    keys[kWaist] = guarding->key;
    const auto index = static_cast<std::size_t>(guarding - waists.begin());
    const int fewest = floor.FewestAbove(kWaist + 1, keys);
    EXPECT_EQ(fewest, 6);
    for (int slots = 0; slots <= 8; ++slots) {
        EXPECT_EQ(floor.FitsIn(kWaist, keys, index, slots), fewest <= slots) << "slots " << slots;
    }
}

} // namespace
