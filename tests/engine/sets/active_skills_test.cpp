#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/skill_search.h"
#include "engine/sets/active_skills.h"
#include "engine/sets/skill_summary.h"
#include "engine/support/random_tables.h"

namespace {

std::vector<int> SummarysActiveRows(const CEquipSet& set, const CEquipDatabase& database) {
    SkillRowTable rows;
    std::vector<int> active;
    const int count = SkillSummary(set, database.Skills(), database.SkillSystems(), rows);
    for (int i = 0; i < count; ++i) {
        if (rows[i].skillIndex >= 0) {
            active.push_back(rows[i].skillIndex);
        }
    }
    return active;
}

// Searches random tables in the complete fitting where `exact`, else in the rule-based one.
void SearchRandomTables(std::mt19937& random, CSkillSearch& engine, bool exact) {
    CSearchCondition condition;
    BuildRandomTables(random, engine.database, condition);
    condition.exactFitting = exact ? 1 : 0;
    engine.Search(condition);
}

// The quick finder names the activated rows of the skill summary, in its order, for every set
// random searches list (doubling pieces, minus points and fixed decorations among them), and for
// sets no search lists: one without a piece, whose decorations there count for nothing, and one
// with an empty place before a decoration.
TEST(ActiveSkillsTest, NamesTheSummarysActiveRowsInItsOrder) {
    std::mt19937 random(2207);
    int sets = 0;
    for (int round = 0; round < 60; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        SearchRandomTables(random, engine, round % 2 == 1);
        ActiveSkillFinder finder(engine.database);
        // First in the order found, where sets of one hit follow one another and each takes its
        // totals from the one before; then again with the odd sets between, so that every set's
        // skills are found among those found before.
        for (int pass = 0; pass < 2; ++pass) {
            for (const auto& set : engine.results) {
                CEquipSet lacking = *set;
                lacking.pieces[sets % kSlotCount] = nullptr;
                CEquipSet gapped = *set;
                std::swap(gapped.decos[sets % kPositionCount][0],
                          gapped.decos[sets % kPositionCount][1]);
                gapped.decorationsTag = 0;
                std::vector<const CEquipSet*> listedSets = {set.get()};
                if (pass == 1) {
                    listedSets.insert(listedSets.end(), {&lacking, &gapped});
                }
                for (const CEquipSet* listed : listedSets) {
                    const std::span<const int> found =
                        finder.ActiveRows(finder.Find(*listed).skills);
                    EXPECT_EQ(std::vector<int>(found.begin(), found.end()),
                              SummarysActiveRows(*listed, engine.database))
                        << "round " << round;
                }
                ++sets;
            }
        }
    }
    EXPECT_GT(sets, 100);
}

} // namespace

// The sets of a search that carry one tag carry the same decorations, whatever the fitting, so
// that a listing may tell them alike by it; a set given other decorations is tagged no more.
TEST(ActiveSkillsTest, SetsOfOneTagCarryTheSameDecorations) {
    std::mt19937 random(4111);
    std::size_t tagged = 0;
    for (int round = 0; round < 40; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        SearchRandomTables(random, engine, round % 2 == 1);
        std::map<std::uint32_t, const CEquipSet*> firstOfTag;
        for (const auto& set : engine.results) {
            if (set->decorationsTag == 0) {
                continue;
            }
            ++tagged;
            const CEquipSet* first =
                firstOfTag.emplace(set->decorationsTag, set.get()).first->second;
            EXPECT_EQ(std::memcmp(first->decos, set->decos, sizeof set->decos), 0)
                << "round " << round;
        }
        if (engine.results.empty()) {
            continue;
        }
        CEquipSet changed = *engine.results.front();
        for (CDecoData* deco : engine.database.Decos()) {
            if (changed.AddDeco(kWeaponPosition, deco)) {
                EXPECT_EQ(changed.decorationsTag, 0u);
                break;
            }
        }
    }
    EXPECT_GT(tagged, 100u);
}

// Found all at once, out of the order of the list, every set still gets its own rows, and the
// numbers of its arrangement and pieces stand for the same decorations and pieces in every set.
TEST(ActiveSkillsTest, FindsAWholeShuffledListAsEachSetAlone) {
    std::mt19937 random(3109);
    for (int round = 0; round < 30; ++round) {
        CSkillSearch engine(nullptr, nullptr);
        CSearchCondition condition;
        BuildRandomTables(random, engine.database, condition);
        engine.Search(condition);
        std::shuffle(engine.results.begin(), engine.results.end(), random);
        ActiveSkillFinder finder(engine.database);
        const std::vector<ActiveSkillFinder::PackedNumbers> found = finder.FindAll(engine.results);
        ASSERT_EQ(found.size(), engine.results.size());
        std::map<std::uint32_t, const CEquipSet*> arrangements;
        std::map<std::uint32_t, const CEquipData*> pieces;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const CEquipSet& set = *engine.results[i];
            const std::span<const int> rows = finder.ActiveRows(found[i].skills);
            EXPECT_EQ(std::vector<int>(rows.begin(), rows.end()),
                      SummarysActiveRows(set, engine.database))
                << "round " << round;
            const CEquipSet* first = arrangements.emplace(found[i].arrangement, &set).first->second;
            EXPECT_EQ(std::memcmp(first->decos, set.decos, sizeof set.decos), 0);
            for (int slot = 0; slot < kSlotCount; ++slot) {
                EXPECT_EQ(found[i].pieces[slot] == 0, set.pieces[slot] == nullptr);
                if (set.pieces[slot] != nullptr) {
                    EXPECT_EQ(pieces.emplace(found[i].pieces[slot], set.pieces[slot]).first->second,
                              set.pieces[slot]);
                }
            }
        }
    }
}

// Each of the sets names a piece of its own. Up to the most pieces a record numbers, each keeps
// its own number; beyond, a number cut short would name another piece, so none are found ahead.
TEST(ActiveSkillsTest, FindsAheadOnlyThePiecesItsRecordsNumber) {
    constexpr std::size_t kMostNumbered = UINT16_MAX;
    CEquipDatabase database;
    std::vector<std::unique_ptr<CEquipSet>> sets;
    for (std::size_t i = 0; i <= kMostNumbered; ++i) {
        auto set = std::make_unique<CEquipSet>();
        set->pieces[kHead] = &database.AddArmor(kHead, CEquipData{});
        sets.push_back(std::move(set));
    }
    std::unique_ptr<CEquipSet> beyond = std::move(sets.back());
    sets.pop_back();
    const std::vector<ActiveSkillFinder::PackedNumbers> found =
        ActiveSkillFinder(database).FindAll(sets);
    ASSERT_EQ(found.size(), kMostNumbered);
    EXPECT_EQ(found.back().pieces[kHead], kMostNumbered);
    sets.push_back(std::move(beyond));
    EXPECT_TRUE(ActiveSkillFinder(database).FindAll(sets).empty());
}
