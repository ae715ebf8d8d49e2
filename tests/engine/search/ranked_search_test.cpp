#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/rank_value.h"
#include "engine/search/skill_search.h"
#include "engine/support/exhaustive_checker.h"
#include "engine/support/random_tables.h"
#include "engine/support/ranked_reference.h"
#include "engine/support/search_fixture.h"

namespace {

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// Random tables in which random pieces are owned (now and then only owned ones may be used) and
// decorations excluded, so every key and restriction is tried; odd rounds fit exactly.
CSearchCondition RandomCondition(std::mt19937& random, CEquipDatabase& database, int round) {
    CSearchCondition c;
    BuildRandomTables(random, database, c);
    c.exactFitting = round % 2;
    // Pieces with the points of others and fewer slots: groups that differ only in their slots,
    // which the bounds of one tell about the other.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::size_t count = database.Armor(slot).size();
        for (std::size_t i = 0; i < count; ++i) {
            const CEquipData& piece = *database.Armor(slot)[i];
            if (piece.slots > 0 && Pick(random, 0, 1) == 0) {
                CEquipData twin = piece;
                twin.slots = Pick(random, 0, piece.slots - 1);
                twin.defenseAfter = Pick(random, 1, 30);
                database.AddArmor(slot, twin);
            }
        }
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (CEquipData* piece : database.Armor(slot)) {
            if (Pick(random, 0, 2) != 0) {
                c.owned[slot].push_back(piece);
            }
        }
    }
    c.ownedOnly = Pick(random, 0, 4) == 0;
    for (CDecoData* deco : database.Decos()) {
        if (Pick(random, 0, 5) == 0) {
            c.excludedDecos.push_back(deco);
        }
    }
    // Resistances the random tables leave at zero, so that keys other than defence decide.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (CEquipData* piece : database.Armor(slot)) {
            for (int& resist : piece->resist) {
                resist = Pick(random, -3, 3);
            }
        }
    }
    return c;
}

// The ranked search in `engine` listed the stable sort of `all` by its key, cut at its limit.
void ExpectBestOf(const CSkillSearch& engine, const std::vector<CEquipSet>& all,
                  const CSearchCondition& ranked, int round) {
    const std::vector<CEquipSet> expected = BestOf(all, ranked.rankKey, ranked, ranked.maxDisplay);
    ASSERT_EQ(engine.results.size(), expected.size()) << "round " << round;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(SameSet(*engine.results[i], expected[i]))
            << "round " << round << " key " << static_cast<int>(ranked.rankKey) << " set " << i;
    }
}

::testing::AssertionResult IsRanked(const CSkillSearch& engine, RankKey key,
                                    const CSearchCondition& c) {
    for (std::size_t i = 1; i < engine.results.size(); ++i) {
        const CEquipSet& before = *engine.results[i - 1];
        const CEquipSet& after = *engine.results[i];
        const auto kb = RankValue(before, key, c);
        const auto ka = RankValue(after, key, c);
        if (ka > kb || (ka == kb && after.TotalDefense() > before.TotalDefense())) {
            return ::testing::AssertionFailure() << "set " << i << " is better than the one before";
        }
    }
    return ::testing::AssertionSuccess();
}

// On random tiny tables, in both fittings and for every key, a ranked search lists exactly the
// best sets of the unlimited search in the order defined by a stable sort of it, with the same
// decorations; it examines every combination and says when the list was cut.
TEST(RankedSearchTest, ListsTheStableSortOfTheUnlimitedListCutAtTheLimit) {
    std::mt19937 random(4242);
    int cut = 0;
    for (int round = 0; round < 300 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition = RandomCondition(random, engine.database, round);
        engine.Search(condition);
        const std::vector<CEquipSet> all = Copies(engine);
        for (const RankKey key : kRankKeys) {
            CSearchCondition ranked = condition;
            ranked.rankKey = key;
            // Now and then exactly as many as there are sets: the list is then not cut.
            ranked.maxDisplay = static_cast<std::uint32_t>(
                Pick(random, 0, 2) == 0 && !all.empty() ? all.size() : Pick(random, 1, 6));
            engine.Search(ranked);
            ExpectBestOf(engine, all, ranked, round);
            EXPECT_EQ(engine.visited, engine.totalCombos) << "round " << round;
            if (all.size() > ranked.maxDisplay) {
                EXPECT_EQ(engine.stopReason, SearchStop::kDisplayLimit) << "round " << round;
                ++cut;
            } else {
                EXPECT_EQ(engine.stopReason, SearchStop::kCompleted) << "round " << round;
            }
        }
    }
    EXPECT_GT(cut, 200) << "the limits no longer cut the lists";
}

// Legs a point apart from others in one skill and with fewer slots, several to a leg: sibling
// groups of the last level, some of which give no skill more than another.
void AddLegTwins(std::mt19937& random, CEquipDatabase& database) {
    constexpr int kLeg = kSlotCount - 1;
    const std::size_t count = database.Armor(kLeg).size();
    for (std::size_t i = 0; i < count; ++i) {
        const CEquipData piece = *database.Armor(kLeg)[i];
        for (int twins = Pick(random, 0, 3); twins > 0 && piece.slots > 0; --twins) {
            CEquipData twin = piece;
            twin.slots = Pick(random, 0, piece.slots - 1);
            twin.defenseAfter = Pick(random, 1, 30);
            twin.skillPoints[Pick(random, 0, 4)] += Pick(random, 0, 1) == 0 ? -1 : 1;
            database.AddArmor(kLeg, twin);
        }
    }
}

// Ranked by free slots in the complete fitting, a leaf is passed over unjudged after a sibling
// that fell short only where it gives no skill more and has no more slots.
TEST(RankedSearchTest, ByFreeSlotsPassesOverOnlyLeavesThatCannotEnter) {
    std::mt19937 random(606);
    for (int round = 0; round < 400 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition = RandomCondition(random, engine.database, 1);
        AddLegTwins(random, engine.database);
        engine.Search(condition);
        const std::vector<CEquipSet> all = Copies(engine);
        condition.rankKey = RankKey::kFreeSlots;
        condition.maxDisplay = static_cast<std::uint32_t>(Pick(random, 1, 4));
        engine.Search(condition);
        ExpectBestOf(engine, all, condition, round);
    }
}

// A ranked search stopped by the calculation limit or an abort lists valid sets of the unlimited
// list, ranked, and tells what stopped it.
TEST(RankedSearchTest, StoppedSearchesListValidSetsRanked) {
    std::mt19937 random(77);
    for (int round = 0; round < 200 && !::testing::Test::HasFailure(); ++round) {
        ScriptedHost host;
        CSkillSearch engine(&host, nullptr);
        host.abortFlag = &engine.abortRequested;
        CSearchCondition condition = RandomCondition(random, engine.database, round);
        engine.Search(condition);
        const std::vector<CEquipSet> all = Copies(engine);
        condition.rankKey = kRankKeys[Pick(random, 0, 7)];
        condition.maxDisplay = static_cast<std::uint32_t>(Pick(random, 1, 6));
        const bool aborts = round % 4 < 2;
        host.pumps = 0;
        if (aborts) {
            host.abortAtPump = Pick(random, 1, 20);
        } else {
            condition.maxCalc = static_cast<std::uint32_t>(Pick(random, 1, 3));
        }
        engine.Search(condition);
        ExpectValidResults(engine, condition);
        EXPECT_TRUE(IsRanked(engine, condition.rankKey, condition)) << "round " << round;
        EXPECT_LE(engine.results.size(), condition.maxDisplay);
        for (const auto& set : engine.results) {
            EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                                    [&](const CEquipSet& other) { return SameSet(*set, other); }))
                << "round " << round;
        }
        if (engine.visited < engine.totalCombos) {
            EXPECT_EQ(engine.stopReason, aborts ? SearchStop::kAborted : SearchStop::kCalcLimit)
                << "round " << round;
        }
    }
}

int PumpsAfterEnumeration(const ScriptedHost& host) {
    for (const ScriptedHost::Message& message : host.messages) {
        if (message.id == SearchHost::kPhaseOneDone) {
            return host.pumps - message.pumpsBefore;
        }
    }
    return 0;
}

// A full list whose ranking passed over parts that might hold sets asks a found-order search
// whether more sets exist: exactly as many sets as listed is no cut, one more is. That search
// pumps the host, so an abort during it stops it and reports the abort; the listed sets and the
// counters stay those of the ranked search.
TEST(RankedSearchTest, TheCheckForMoreSetsTellsTheCutAndStopsAtAnAbort) {
    std::mt19937 random(9);
    int checked = 0;
    for (int round = 1; round < 400 && !::testing::Test::HasFailure(); round += 2) {
        ScriptedHost host;
        CSkillSearch engine(&host, nullptr);
        host.abortFlag = &engine.abortRequested;
        CSearchCondition condition = RandomCondition(random, engine.database, round);
        engine.Search(condition);
        const std::size_t all = engine.results.size();
        condition.rankKey = kRankKeys[Pick(random, 0, 7)];
        for (const std::size_t limit : {all, all - 1}) {
            if (limit == 0) {
                continue;
            }
            condition.maxDisplay = static_cast<std::uint32_t>(limit);
            host = ScriptedHost{};
            host.abortFlag = &engine.abortRequested;
            engine.Search(condition);
            const int checkPumps = PumpsAfterEnumeration(host);
            if (checkPumps == 0) {
                continue;
            }
            ++checked;
            EXPECT_EQ(engine.stopReason,
                      limit < all ? SearchStop::kDisplayLimit : SearchStop::kCompleted)
                << "round " << round;
            const std::vector<CEquipSet> listed = Copies(engine);
            const std::uint64_t visited = engine.visited;
            const std::uint32_t hits = engine.hitCount;
            host.abortAtPump = host.pumps - checkPumps + 1;
            host.pumps = 0;
            host.messages.clear();
            engine.Search(condition);
            EXPECT_EQ(engine.stopReason, SearchStop::kAborted) << "round " << round;
            EXPECT_EQ(host.pumps, host.abortAtPump) << "round " << round;
            ASSERT_EQ(engine.results.size(), listed.size()) << "round " << round;
            for (std::size_t i = 0; i < listed.size(); ++i) {
                EXPECT_TRUE(SameSet(*engine.results[i], listed[i])) << "round " << round;
            }
            EXPECT_EQ(engine.visited, visited);
            EXPECT_EQ(engine.hitCount, hits);
        }
    }
    EXPECT_GT(checked, 10) << "no full list needed the check";
}

class RankedCheckTest : public SearchFixture {};

// The first hit found is a doubling head whose profile that meets the skill (the one with slots)
// is too weak for the minimum defence: it stands for no set. The check for more sets must look
// past it, to the second head that the ranking passed over.
TEST_F(RankedCheckTest, LooksPastHitsThatStandForNoSet) {
    Piece(kHead, 0, 50, {}, true);
    Piece(kHead, 3, 1, {}, true);
    Piece(kHead, 0, 30, {{attack, 6}});
    Piece(kHead, 0, 25, {{attack, 7}});
    Piece(kBody, 0, 10, {{attack, 4}});
    Deco(1, {{attack, 2}});
    Choose({attack10});
    condition.exactFitting = 1;
    condition.minDefense = 30;
    condition.rankKey = RankKey::kDefense;
    condition.maxDisplay = 1;
    Run();
    ASSERT_EQ(engine.results.size(), 1u);
    EXPECT_EQ(engine.results[0]->pieces[kHead]->defenseAfter, 30);
    EXPECT_EQ(engine.stopReason, SearchStop::kDisplayLimit);
}

// Doubling pieces with 0 to 3 slots at the four slots besides the body: the one hit is met for
// the 221 of their 256 choices of slots that hold the four points the body lacks, more variants
// than one word of the expansion's bits holds. Listed in the order found, every valid set comes
// with its own cheapest decorations; ranked, the sets and decorations are those of that list.
TEST_F(RankedCheckTest, AHitMetForMoreThan64ProfilesGivesEachSetItsOwnDecorations) {
    Deco(1, {{attack, 1}});
    Deco(3, {{attack, 3}});
    Piece(kBody, 0, 7, {{attack, 2}});
    int defense = 1;
    for (const int slot : {kHead, kArm, kWaist, kLeg}) {
        for (int slots = 0; slots <= 3; ++slots) {
            defense = defense * 7 % 31 + 1;
            Piece(slot, slots, defense, {}, true);
        }
    }
    Choose({Level(attack, 14)});
    condition.exactFitting = 1;
    condition.maxDisplay = 1000;
    Run();
    ASSERT_EQ(ExpectEveryValidSet(engine, condition, 0), 221u);
    const std::vector<CEquipSet> all = Copies(engine);
    for (const RankKey key : {RankKey::kDefense, RankKey::kFreeSlots}) {
        for (const std::uint32_t limit : {7u, 100u, 221u}) {
            condition.rankKey = key;
            condition.maxDisplay = limit;
            engine.Search(condition);
            ExpectBestOf(engine, all, condition, static_cast<int>(limit));
        }
    }
}

// The refine ranks its sets the same way: the stable sort of the unranked refine's list, cut.
TEST(RankedSearchTest, RefineRanksItsSets) {
    std::mt19937 random(31);
    for (int round = 0; round < 100 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition = RandomCondition(random, engine.database, round);
        condition.skillCount = 1;
        condition.excludedSkillCount = 0;
        engine.Search(condition);
        const std::vector<CEquipSet> found = Copies(engine);
        const auto refine = [&](RankKey key, std::uint32_t limit) {
            return RefineCopies(engine, found, condition, key, limit);
        };
        const std::vector<CEquipSet> all = refine(RankKey::kNone, 1000000);
        const RankKey key = kRankKeys[Pick(random, 0, 7)];
        const std::vector<CEquipSet> ranked = refine(key, 3);
        const std::vector<CEquipSet> expected = BestOf(all, key, condition, 3);
        ASSERT_EQ(ranked.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(SameSet(ranked[i], expected[i])) << "round " << round;
        }
        condition.rankKey = RankKey::kNone;
    }
}

} // namespace
