#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/advisor/advice_text.h"
#include "engine/advisor/skill_advisor.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/support/exhaustive_checker.h"
#include "engine/support/random_tables.h"
#include "engine/support/search_fixture.h"

namespace {

bool ChosenSystem(const CSearchCondition& c, const CEquipDatabase& database, int system) {
    for (int k = 0; k < c.skillCount; ++k) {
        if (database.Skills()[c.skillRows[k]]->systemId == system) {
            return true;
        }
    }
    return false;
}

CSearchCondition WithRow(CSearchCondition condition, int row) {
    condition.skillRows[condition.skillCount++] = row;
    return condition;
}

// On random tiny tables the addable levels are exactly those a brute-force search finds a set
// for, and a listed set's addable levels exactly those decorations in its free slots reach.
TEST(SkillAdvisorTest, AnswersAgreeWithABruteForceSearch) {
    std::mt19937 random(515);
    int addableSeen = 0;
    for (int round = 0; round < 150 && !::testing::Test::HasFailure(); ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        const CEquipDatabase& database = engine.database;
        std::vector<int> expected;
        for (int row = 0; row < static_cast<int>(database.Skills().size()); ++row) {
            const CSkillData& skill = *database.Skills()[row];
            if (skill.threshold > 0 && !ChosenSystem(condition, database, skill.systemId) &&
                !EveryValidSet(WithRow(condition, row), database).empty()) {
                expected.push_back(row);
            }
        }
        bool aborted = true;
        EXPECT_EQ(FindAddableSkills(database, condition, 2, engine, aborted), expected)
            << "round " << round;
        EXPECT_FALSE(aborted);
        addableSeen += expected.empty() ? 0 : 1;

        condition.exactFitting = 1;
        engine.Search(condition);
        for (std::size_t i = 0; i < std::min<std::size_t>(engine.results.size(), 3); ++i) {
            const CEquipSet& set = *engine.results[i];
            std::vector<int> reachable;
            for (int row = 0; row < static_cast<int>(database.Skills().size()); ++row) {
                const CSkillData& skill = *database.Skills()[row];
                SkillRowTable rows;
                const int count = set.Summarize(rows, database.Skills(), database.SkillSystems());
                const bool active =
                    std::any_of(rows.begin(), rows.begin() + count, [&](const SkillRow& r) {
                        return r.systemId == skill.systemId && skill.IsReached(r.total);
                    });
                if (skill.threshold > 0 && !active && !IsExcludedSkill(condition, row) &&
                    CheapestAddition(set, WithRow(condition, row), database)) {
                    reachable.push_back(row);
                }
            }
            EXPECT_EQ(AddableSkillsOfSet(database, condition, set), reachable) << "round " << round;
        }
    }
    EXPECT_GT(addableSeen, 20);
}

class SkillAdviceTest : public SearchFixture {};

// Without the row that blocks the search the others find their sets; the count stops at the
// display limit.
TEST_F(SkillAdviceTest, CountsTheSetsEachChosenRowBlocks) {
    Piece(kHead, 0, 10, {{attack, 10}});
    Piece(kHead, 0, 10, {{attack, 12}});
    Choose({attack10, guard10});
    condition.maxDisplay = 2;
    condition.exactFitting = 1;
    Run();
    ASSERT_TRUE(engine.results.empty());
    const std::vector<SkillAdvice> advice = AdviseWithout(engine.database, condition);
    ASSERT_EQ(advice.size(), 2U);
    EXPECT_EQ(advice[0].row, guard10);
    EXPECT_EQ(advice[0].sets, 2U);
    EXPECT_TRUE(advice[0].atLeast);
    EXPECT_EQ(advice[1].row, attack10);
    EXPECT_EQ(advice[1].sets, 0U);
    EXPECT_TRUE(engine.results.empty());
}

// Each limit of the condition that keeps the only set out gets its own count; the changes that
// find nothing share one line. An abort through the host ends the advice with nothing to tell.
TEST_F(SkillAdviceTest, LimitsAreAdvisedAndFruitlessChangesFolded) {
    CEquipData* head = Piece(kHead, 0, 10, {{attack, 10}});
    Choose({attack10});
    condition.minDefense = 50;
    condition.ownedOnly = 1;
    condition.owned[kHead] = {head};
    condition.fixed.pieces[kHead] = Piece(kHead, 0, 1, {});
    Run();
    ASSERT_TRUE(engine.results.empty());
    AdviceProgress progress;
    std::vector<AdviceKind> kinds;
    for (const SkillAdvice& line : AdviseWithout(engine.database, condition, &progress)) {
        kinds.push_back(line.kind);
        EXPECT_EQ(line.sets, 0U);
    }
    EXPECT_EQ(kinds, (std::vector<AdviceKind>{AdviceKind::kSkill, AdviceKind::kMinDefence,
                                              AdviceKind::kOwnedOnly, AdviceKind::kFixed,
                                              AdviceKind::kExactFitting}));
    EXPECT_EQ(progress.done, 5);

    condition.fixed.Clear();
    condition.ownedOnly = 0;
    const std::vector<SkillAdvice> advice = AdviseWithout(engine.database, condition, &progress);
    ASSERT_EQ(advice.size(), 3U);
    EXPECT_EQ(advice[0].kind, AdviceKind::kMinDefence);
    EXPECT_EQ(advice[0].sets, 1U);
    EXPECT_EQ(AdviceLines(engine.database, advice),
              (std::vector<std::string>{"最低防御力を外すと 1件",
                                        "次のどれでも 0件: 「」を外す、完全検索"}));

    host.abortAtPump = host.pumps + 1;
    host.abortFlag = &progress.abortRequested;
    progress.host = &host;
    EXPECT_TRUE(AdviseWithout(engine.database, condition, &progress).empty());
    EXPECT_TRUE(progress.aborted);
    EXPECT_EQ(engine.stopReason, SearchStop::kCompleted) << "the empty search's own end";
}

// A doubling piece is not a plain piece with the same slots and points: it counts the body's
// points once more, so the additional-skill search must not fold the two.
TEST_F(SkillAdviceTest, ADoublingPieceIsToldApartFromAPlainOneLikeIt) {
    Piece(kBody, 0, 10, {{attack, 5}});
    Piece(kHead, 0, 10, {});
    Piece(kHead, 0, 10, {}, true);
    for (const int slot : {kArm, kWaist, kLeg}) {
        Piece(slot, 0, 10, {});
    }
    bool aborted = true;
    EXPECT_EQ(FindAddableSkills(engine.database, condition, 1, engine, aborted),
              std::vector<int>{attack10});
}

// A set whose weapon carries more decorations than its slots cannot be listed (the refine drops
// it), so it has nothing to add either, whatever its other slots could take.
TEST_F(SkillAdviceTest, AnOverfilledSetTakesNothingMore) {
    CEquipSet set;
    set.pieces[kHead] = Piece(kHead, 1, 10, {});
    Deco(1, {{attack, 10}});
    set.decos[kWeaponPosition][0] = Deco(1, {{guard, 2}});
    set.weaponSlots = 1;
    EXPECT_EQ(AddableSkillsOfSet(engine.database, condition, set), std::vector<int>{attack10});
    set.weaponSlots = 0;
    EXPECT_TRUE(AddableSkillsOfSet(engine.database, condition, set).empty());
}

} // namespace
