#include <algorithm>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/condition/candidates.h"
#include "engine/exact/exact_fitting.h"
#include "engine/search/frontier_table.h"
#include "engine/search/group_enumeration.h"
#include "engine/search/subtree_bound.h"
#include "engine/support/prepared_tables.h"
#include "engine/support/random_tables.h"
#include "engine/support/search_fixture.h"

namespace {

struct PhaseOne {
    SearchHits hits;
    std::uint64_t visited = 0;
    std::uint32_t hitCount = 0;
    std::uint64_t setCount = 0;
    int pumps = 0;
};

constexpr int kNoAbort = std::numeric_limits<int>::max();

// Phase 1 of a search in either fitting, with or without the bound; an abort comes at the given
// pump, none without a host at 0.
PhaseOne RunPhaseOne(CSkillSearch& engine, const CSearchCondition& condition, bool bounded,
                     int abortAtPump) {
    ScriptedHost host;
    SearchProgress progress(abortAtPump > 0 ? &host : nullptr);
    SearchOutcome outcome;
    host.abortAtPump = abortAtPump;
    host.abortFlag = &progress.abortRequested;
    PreparedTables prepared(condition, engine.database);
    SubtreeBound bound(condition, prepared.skills, prepared.candidates, prepared.groups,
                       prepared.exact);
    DecorationFitter fitter(prepared.table, condition);
    ExactJudge judge(condition, prepared.table, prepared.candidates, prepared.groups,
                     prepared.exact);
    PhaseOne result;
    GroupEnumeration enumeration(progress, outcome, condition, prepared.groups, fitter,
                                 result.hits);
    if (condition.exactFitting != 0) {
        enumeration.UseExactJudge(&judge);
    }
    if (bounded) {
        enumeration.UseBound(&bound);
    }
    enumeration.Run();
    result.visited = progress.visited;
    result.hitCount = outcome.hitCount;
    result.setCount = outcome.setCount;
    result.pumps = host.pumps;
    return result;
}

// One skill met by points alone or with one-slot decorations (or, when `hopeless`, never), many
// pieces a slot with few distinct points, and a minimum defence that about half the combinations
// reach: the bounds rule out many subtrees, and the equivalent groups after them are skipped or
// not by the low-defence flag those subtrees leave.
void BuildEquivalentGroups(std::mt19937& random, bool hopeless, CEquipDatabase& database,
                           CSearchCondition& condition) {
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    database.Clear();
    const int system = database.AddSkillSystem("a");
    CSkillData skill;
    skill.systemId = system;
    skill.threshold = static_cast<std::int8_t>(hopeless ? 21 : pick(4, 8));
    database.AddSkill(skill);
    if (pick(0, 1) == 0) {
        CDecoData deco;
        deco.size = 1;
        deco.skillId[0] = system;
        deco.skillPoints[0] = 1;
        database.AddDeco(deco);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = pick(2, 7); i > 0; --i) {
            CEquipData piece;
            piece.kind = slot;
            piece.slots = pick(0, 2);
            piece.defenseAfter = pick(1, 20);
            piece.skillId[0] = system;
            piece.skillPoints[0] = pick(0, 2);
            database.AddArmor(slot, piece);
        }
    }
    condition = CSearchCondition{};
    condition.skillCount = 1;
    condition.skillRows[0] = 0;
    condition.maxDisplay = 1000000;
    condition.minDefense = pick(35, 65);
}

// The bounds only leave out subtrees without hits, and count them so that counters, pumps, skips
// and stops come out as before: at the end, at a limit and at an abort.
TEST(SubtreeBoundTest, TheNormalSearchCountsAndStopsAsWithoutIt) {
    std::mt19937 random(4242);
    for (int round = 0; round < 600 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        // On hopeless tables an abort at any pump tells whether the skips came out as before, so
        // it comes at one of the pumps the walk makes: the skips before it are replayed.
        const bool equivalent = round % 3 == 0;
        if (equivalent) {
            BuildEquivalentGroups(random, round % 2 == 0, engine.database, condition);
        } else {
            BuildRandomTables(random, engine.database, condition);
        }
        condition.maxDisplay =
            std::uniform_int_distribution<std::uint32_t>(1, 6)(random) == 1 ? 2 : 1000000;
        condition.exactFitting = round % 4 >= 2 ? 1 : 0;
        const int mostPumps =
            equivalent ? RunPhaseOne(engine, condition, false, kNoAbort).pumps : 8;
        const int abortAt = std::uniform_int_distribution<int>(0, mostPumps)(random);
        const PhaseOne plain = RunPhaseOne(engine, condition, false, abortAt);
        const PhaseOne bounded = RunPhaseOne(engine, condition, true, abortAt);
        ASSERT_EQ(plain.visited, bounded.visited) << "round " << round;
        ASSERT_EQ(plain.hitCount, bounded.hitCount) << "round " << round;
        ASSERT_EQ(plain.setCount, bounded.setCount) << "round " << round;
        ASSERT_EQ(plain.pumps, bounded.pumps) << "round " << round;
        ASSERT_EQ(plain.hits.size(), bounded.hits.size()) << "round " << round;
        for (std::size_t i = 0; i < plain.hits.size(); ++i) {
            EXPECT_TRUE(std::equal(plain.hits[i].keys, plain.hits[i].keys + kSlotCount,
                                   bounded.hits[i].keys))
                << "round " << round;
        }
    }
}

// The table answers as the exact fitting's bound does for each choice on its own, also where one
// decoration serves two skills, a prefix lacks more than any choice makes up, or the minimum
// defence leaves only some choices; and, for the skills the rule-based fitting's slot check
// weighs, as that check does with the choice's points and slots, for up to six such skills. The
// answers choice by choice agree with it for every choice strong enough; a table of one choice
// answers so too.
TEST(FrontierTableTest, AnswersAsEachChoiceWeighedAlone) {
    std::mt19937 random(77);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 200 && !::testing::Test::HasFailure(); ++round) {
        const int count = pick(1, 6);
        std::vector<TrackedSkill> skills(count);
        int goal[kMaxTrackedSkills] = {};
        for (int k = 0; k < count; ++k) {
            skills[k] = {k, 1, pick(3, 15)};
            goal[k] = skills[k].bound;
        }
        std::vector<CDecoData> decos(pick(0, 5));
        std::vector<CDecoData*> usable;
        for (CDecoData& deco : decos) {
            deco.size = pick(1, 3);
            deco.skillId[0] = pick(0, count - 1);
            deco.skillPoints[0] = pick(1, 4);
            deco.skillId[1] = pick(0, count - 1);
            deco.skillPoints[1] = deco.skillId[1] == deco.skillId[0] ? 0 : pick(-2, 2);
            usable.push_back(&deco);
        }
        const ExactFitter fitter(skills.data(), count, usable);
        // Tables of one choice are answered apart, so they come often.
        std::vector<FrontierTable::Choice> choices(round % 3 == 0 ? 1 : pick(1, 40));
        for (FrontierTable::Choice& choice : choices) {
            choice.slots = pick(0, 6);
            choice.defense = pick(0, 50);
            for (int k = 0; k < count; ++k) {
                choice.points[k] = pick(-4, 12);
                choice.with[k] = choice.points[k] + fitter.BestGain(k, std::min(choice.slots, 3));
            }
        }
        std::sort(choices.begin(), choices.end(),
                  [](const auto& a, const auto& b) { return a.defense > b.defense; });
        const std::uint32_t slotChecked = pick(0, 1) == 0 ? 0 : pick(0, (1 << count) - 1);
        FrontierTable table;
        table.Build(choices, fitter, 12, slotChecked);
        for (int prefix = 0; prefix < 50; ++prefix) {
            int points[kMaxTrackedSkills] = {};
            int with[kMaxTrackedSkills] = {};
            int pointsShort[kMaxTrackedSkills] = {};
            int withShort[kMaxTrackedSkills] = {};
            for (int k = 0; k < count; ++k) {
                points[k] = pick(-5, 14);
                with[k] = points[k] + pick(0, 8);
                pointsShort[k] = goal[k] - points[k];
                withShort[k] = goal[k] - with[k];
            }
            const int slots = pick(0, 6);
            const int leastDefense = pick(0, 60);
            bool expected = false;
            std::vector<std::uint8_t> mayMeet;
            table.MayMeetEach(pointsShort, withShort, slots, leastDefense, mayMeet);
            for (std::size_t e = 0; e < choices.size(); ++e) {
                const FrontierTable::Choice& choice = choices[e];
                int sumPoints[kMaxTrackedSkills] = {};
                int sumWith[kMaxTrackedSkills] = {};
                int missing = 0;
                for (int k = 0; k < count; ++k) {
                    sumPoints[k] = points[k] + choice.points[k];
                    sumWith[k] = with[k] + choice.with[k];
                    if ((slotChecked >> k & 1U) != 0) {
                        missing += std::max(goal[k] - sumPoints[k], 0);
                    }
                }
                const bool meets =
                    missing <= 2 * (slots + choice.slots) &&
                    fitter.GoalsMayBeMet(goal, sumPoints, sumWith, slots + choice.slots);
                if (choice.defense >= leastDefense) {
                    ASSERT_EQ(mayMeet[e] != 0, meets)
                        << "round " << round << " prefix " << prefix << " choice " << e;
                }
                expected |= choice.defense >= leastDefense && meets;
            }
            ASSERT_EQ(table.AnyMayMeet(pointsShort, withShort, slots, leastDefense), expected)
                << "round " << round << " prefix " << prefix;
        }
    }
}

// Two chosen skills, attack and guard, each met by one waist piece alone: every bound of one skill
// passes, but no waist piece brings both and nothing else does, so the bound must rule out the
// whole subtree under the arm. A piece whose two slots must hold one decoration of each skill
// must not be ruled out: the complete fitting lists its set.
class JointBoundTest : public SearchFixture {
protected:
    bool MayHitUnderTheArm() {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (engine.database.Armor(slot).empty()) {
                Piece(slot, 0, 1, {});
            }
        }
        PreparedTables prepared(condition, engine.database);
        SubtreeBound bound(condition, prepared.skills, prepared.candidates, prepared.groups,
                           prepared.exact);
        GroupKey keys[kSlotCount] = {};
        for (int slot = 0; slot <= kArm; ++slot) {
            keys[slot] = prepared.groups[slot].front().key;
        }
        return bound.MayHit(kArm, keys, 0, 0);
    }
};

TEST_F(JointBoundTest, RulesOutWhatNoChoiceMeetsTogetherAndKeepsSharedSlots) {
    Choose({attack10, guard10});
    Piece(kWaist, 0, 1, {{attack, 10}});
    Piece(kWaist, 0, 1, {{guard, 10}});
    EXPECT_FALSE(MayHitUnderTheArm());

    engine.database.Clear();
    Choose({Level(attack, 10), Level(guard, 10)});
    Deco(1, {{attack, 5}});
    Deco(1, {{guard, 5}});
    Piece(kWaist, 2, 1, {});
    Piece(kLeg, 0, 1, {{attack, 5}, {guard, 5}});
    condition.exactFitting = 1;
    EXPECT_TRUE(MayHitUnderTheArm());
    engine.Search(condition);
    EXPECT_EQ(engine.results.size(), 1U);
    // The rule-based fitting gives up before placing anything where the points missing exceed two
    // a slot, so for it no set under the arm can be a hit.
    condition.exactFitting = 0;
    EXPECT_FALSE(MayHitUnderTheArm());
    engine.Search(condition);
    EXPECT_EQ(engine.results.size(), 0U);
}

// Under the first waist group one leg is judged and fails, one falls short of the minimum
// defence and one is ruled out by the bound: that last one leaves the low-defence flag clear, as
// judging it would, so the equivalent stronger waist group after it is skipped with its one set.
using LowDefenceFlagTest = SearchFixture;

TEST_F(LowDefenceFlagTest, ALeafTheBoundRulesOutClearsIt) {
    Choose({attack10, guard10});
    Deco(1, {{guard, 3}, {attack, -2}});
    Piece(kWaist, 1, 1, {{attack, 5}, {guard, 5}});
    Piece(kWaist, 0, 20, {{attack, 5}, {guard, 5}});
    Piece(kLeg, 0, 30, {{attack, 6}, {guard, 2}});
    Piece(kLeg, 0, 1, {{attack, 5}, {guard, 5}});
    Piece(kLeg, 0, 30, {});
    for (int slot = kHead; slot <= kArm; ++slot) {
        Piece(slot, 0, 1, {});
    }
    condition.minDefense = 10;
    const PhaseOne plain = RunPhaseOne(engine, condition, false, 0);
    const PhaseOne bounded = RunPhaseOne(engine, condition, true, 0);
    EXPECT_EQ(plain.hitCount, 0U);
    EXPECT_EQ(bounded.hitCount, plain.hitCount);
}

// A head and body ruled out is no reason to rule out a weaker pair whose body, repeated by the
// doubling pieces below, brings more: only the second pair's sets meet the skill.
using RuledOutPrefixTest = SearchFixture;

TEST_F(RuledOutPrefixTest, KeepsAWeakerPairWithAStrongerBodyToRepeat) {
    Choose({attack10});
    Piece(kHead, 0, 1, {{attack, 4}});
    Piece(kHead, 0, 1, {{attack, 1}});
    Piece(kBody, 0, 1, {{attack, 3}});
    Piece(kBody, 0, 1, {});
    Piece(kWaist, 0, 1, {}, true);
    Piece(kLeg, 0, 1, {}, true);
    Run();
    EXPECT_EQ(engine.results.size(), 2U);
}

} // namespace
