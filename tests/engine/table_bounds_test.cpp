#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine/equip_database.h"
#include "engine/skill_systems.h"
#include "support/temp_folder.h"

// Foreign files in the data folder: far more lines than a table, a gigantic line, and more
// distinct skill-system names than any game has. Each must load (or be refused) in memory that
// does not grow with the file.
namespace {

constexpr std::size_t kLimit = CEquipDatabase::kMaxTableRecords;

class TableBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("data/SKILL_EQ.csv", "skill,system,10,0,x,A\n");
        folder.Write("data/TEVREQUIP_DECO.csv", "deco,1,1,system,1,,,x\n");
        for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
            folder.Write(std::string("data/TEVREQUIP_") + file + ".csv", "piece,0,0,1,1\n");
        }
    }

    void WriteLeg(const std::string& text) { folder.Write("data/TEVREQUIP_LEG.csv", text); }

    int Load() { return database.LoadTables(folder.Path(), 0); }

    void ExpectLegRefused() {
        EXPECT_EQ(Load(), 0);
        EXPECT_TRUE(database.Armor(kLeg).empty());
        EXPECT_EQ(database.Armor(kWaist).size(), 1u);
        EXPECT_EQ(database.Skills().size(), 1u);
    }

    TempFolder folder;
    CEquipDatabase database;
};

TEST_F(TableBoundsTest, ATableOfBlankLinesLoadsUpToTheLimitAndIsRefusedPastIt) {
    WriteLeg(std::string(kLimit, '\n') + std::string(5000, '#') + "\n  #\n");
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(database.Armor(kLeg).size(), kLimit); // comment lines are not records

    WriteLeg(std::string(kLimit + 1, '\n'));
    ExpectLegRefused();
    WriteLeg(std::string(8u << 20, '\n'));
    ExpectLegRefused();
}

TEST_F(TableBoundsTest, AHundredMegabyteLineIsRefusedOnceItsPiecesPassTheLimit) {
    std::string line;
    line.reserve(100u << 20);
    while (line.size() < (100u << 20)) {
        line += "name,1,2,3,4,5,6,";
    }
    WriteLeg(line);
    ExpectLegRefused();
}

// A 20 MB line of unique names: every 511-byte piece becomes a piece record, and each of the
// some 200 000 distinct names gets its own id, the same one wherever it recurs.
TEST_F(TableBoundsTest, AGiganticLineOfNewNamesRegistersEachOnce) {
    std::string line;
    for (int i = 0; line.size() < (20u << 20); ++i) {
        char token[16];
        std::snprintf(token, sizeof token, "s%07d,", i);
        line += token;
    }
    WriteLeg(line + "\n" + line.substr(0, 511));
    ASSERT_EQ(Load(), 1);
    const auto& legs = database.Armor(kLeg);
    const std::size_t pieces = (line.size() + 1 + 510) / 511;
    ASSERT_EQ(legs.size(), pieces + 1);
    EXPECT_GT(SkillSystemCount(), 150000);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(legs.back()->skillId[i], legs.front()->skillId[i]);
    }
    for (const CEquipData* piece : legs) {
        for (int id : piece->skillId) {
            ASSERT_EQ(FindOrAddSkillSystem(SkillSystemName(id)), id);
        }
    }
}

} // namespace
