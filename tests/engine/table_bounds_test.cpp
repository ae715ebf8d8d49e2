#include <string>

#include <gtest/gtest.h>

#include "engine/equip_database.h"
#include "engine/skill_systems.h"
#include "support/temp_folder.h"

// Foreign files in the data folder: more lines than any game's table, and lines longer than a
// table line. Tables far larger than a game's still load; only tables past the memory guard,
// which the seven share, are refused, and refusing a file costs no memory.
namespace {

constexpr std::size_t kLimit = CEquipDatabase::kMaxRecords;

class TableBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSkills("skill,system,10,0,x,A\n");
        folder.Write("data/TEVREQUIP_DECO.csv", "deco,1,1,system,1,,,x\n");
        for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
            folder.Write(std::string("data/TEVREQUIP_") + file + ".csv", "piece,0,0,1,1\n");
        }
    }

    void WriteSkills(const std::string& text) { folder.Write("data/SKILL_EQ.csv", text); }
    void WriteLeg(const std::string& text) { folder.Write("data/TEVREQUIP_LEG.csv", text); }

    int Load() { return database.LoadTables(folder.Path(), 0); }

    TempFolder folder;
    CEquipDatabase database;
};

TEST_F(TableBoundsTest, TablesLoadUpToTheSharedGuardAndAreRefusedPastIt) {
    // Well past 65536 records: a large table, not a hostile one.
    std::string legs;
    for (int i = 0; i < 100000; ++i) {
        legs += "leg" + std::to_string(i) + ",0,0,1,1,5,5\n";
    }
    WriteLeg(legs);
    ASSERT_EQ(Load(), 1);
    ASSERT_EQ(database.Armor(kLeg).size(), 100000u);
    EXPECT_STREQ(database.Armor(kLeg).back()->name, "leg99999");
    WriteLeg("piece,0,0,1,1\n");

    // The six other tables hold one record each. Comment lines are not records, so they do not
    // count against the guard.
    const std::size_t others = 6;
    WriteSkills(std::string(kLimit - others - 1, '\n') + std::string(kLimit, '#') +
                "\n  #\nlast,s,5\n");
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(database.Skills().size(), kLimit - others);

    WriteSkills(std::string(kLimit - others + 1, '\n'));
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(database.Armor(kWaist).size(), 1u) << "earlier tables keep their records";
    EXPECT_TRUE(database.Armor(kLeg).empty()) << "the table past the guard stays empty";

    WriteSkills(std::string(kLimit + 1, '\n'));
    EXPECT_EQ(Load(), 0);
    EXPECT_TRUE(database.Skills().empty());
    EXPECT_TRUE(database.Armor(kHead).empty()) << "later tables stay empty";
}

// A line comes in pieces of 511 bytes, each read as a line of its own, even the rest of a
// comment line.
TEST_F(TableBoundsTest, ALongLineIsReadInPiecesOfItsOwn) {
    const std::string name(600, 'x');
    WriteLeg(name + "\n#" + name + "\n" + std::string(511, ',') + "s1,1,s2,2\n");
    ASSERT_EQ(Load(), 1);
    const auto& legs = database.Armor(kLeg);
    ASSERT_EQ(legs.size(), 5u);
    EXPECT_STREQ(legs[0]->name, "") << "511 bytes without a separator: the field is absent";
    EXPECT_EQ(std::string(legs[1]->name), std::string(20, 'x'));
    EXPECT_EQ(std::string(legs[2]->name), std::string(20, 'x'));
    EXPECT_EQ(legs[3]->rarity, 0) << "511 commas: every field empty";
    EXPECT_STREQ(legs[4]->name, "s1");
    EXPECT_EQ(legs[4]->sex * 10 + legs[4]->rarity, 12);
}

} // namespace
