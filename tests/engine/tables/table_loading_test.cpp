#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <utility>

#include <gtest/gtest.h>

#include "engine/tables/equip_database.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "engine/tables/table_parsers.h"
#include "platform/sjis.h"
#include "support/temp_folder.h"

namespace {

std::string Sjis(const char* utf8) {
    return platform::Utf8ToSjis(utf8);
}

class TableParsing : public ::testing::Test {
protected:
    CSkillSystems systems;
};

TEST_F(TableParsing, ThresholdsAreSignedBytesAndCategoriesAndTiersMatchTheWholeText) {
    CSkillData skill, longer;
    ParseSkillLine((Sjis("攻撃力UP【小】,攻撃,200,1,攻撃,A") + "\n").c_str(), skill, systems);
    ParseSkillLine((Sjis("x,攻撃,10,0,攻撃力,A") + "\n").c_str(), longer, systems);
    EXPECT_EQ(skill.threshold, -56);
    EXPECT_EQ(skill.jobFilter, 1);
    EXPECT_EQ(skill.category, 0);
    EXPECT_EQ(longer.category, 3);
    EXPECT_EQ(longer.systemId, skill.systemId);

    const std::pair<const char*, int> tiers[] = {{"上", 1}, {"上位", 0}, {"Ｇ", 2}};
    for (const auto& [tier, rankTier] : tiers) {
        CDecoData deco;
        ParseDecoLine((Sjis("珠,4,1,攻撃,1,,,") + Sjis(tier) + "\n").c_str(), deco, systems);
        EXPECT_EQ(deco.rankTier, rankTier) << tier;
    }
}

TEST_F(TableParsing, ArmourSkillNamesKeep19Bytes) {
    const std::string system20 = Sjis("あいうえおかきくけこ"); // 20 bytes
    CSkillData skill;
    ParseSkillLine((Sjis("技") + "," + system20 + ",10,0,他,A\n").c_str(), skill, systems);
    CEquipData piece;
    const std::string line = Sjis("兜,0,0,1,1,2,3,1,2,3,4,5,") + system20 + ",3," +
                             Sjis("胴系倍加") + ",0,,,,,,," + Sjis("鉄鉱石") + ",2\n";
    ParseArmorLine(line.c_str(), piece, systems);
    EXPECT_NE(piece.skillId[0], skill.systemId);
    EXPECT_EQ(std::string(systems.Name(piece.skillId[0])), system20.substr(0, 19));
    // Looking a name up never registers it.
    const int count = systems.Count();
    EXPECT_EQ(systems.Find(Sjis("胴系倍加")), piece.skillId[1]);
    EXPECT_EQ(systems.Find("never named"), -1);
    EXPECT_EQ(systems.Count(), count);
    EXPECT_EQ(std::string(piece.materialName[0]), Sjis("鉄鉱石"));
    EXPECT_EQ(piece.materialCount[0], 2);
}

// Values no game holds would overflow the sums and packed keys built from them; they are
// clamped to the nearest bound as the line is read, those beyond an int as well.
TEST_F(TableParsing, NumbersBeyondWhatTheGameHoldsAreClamped) {
    CDecoData big, small;
    ParseDecoLine("ZZ,3000000000,2147483647,a,99999999999,b,-3000000000,x\n", big, systems);
    ParseDecoLine("XX,-1,-4,a,1073741824,b,-17,x\n", small, systems);
    EXPECT_EQ(big.rarity * 1000 + big.size, 10 * 1000 + 3);
    EXPECT_EQ(big.skillPoints[0], kDecoPointsRange.max);
    EXPECT_EQ(big.skillPoints[1], kDecoPointsRange.min);
    EXPECT_EQ(small.rarity * 1000 + small.size, 0);
    EXPECT_EQ(small.skillPoints[0], 99);
    EXPECT_EQ(small.skillPoints[1], -17) << "within the decoration range";

    CEquipData piece;
    ParseArmorLine("p,7,9,11,2147483647,-5,99999,-1000,1000,0,-99,99,a,16,b,-17,c,15,d,-16,e,"
                   "2147483647,m,100,n,-1\n",
                   piece, systems);
    EXPECT_EQ(piece.sex * 10 + piece.job, 79) << "only compared: kept as read";
    EXPECT_EQ(piece.rarity, 10);
    EXPECT_EQ(piece.slots, 3);
    EXPECT_EQ(piece.defenseBefore, 0);
    EXPECT_EQ(piece.defenseAfter, 9999);
    const int resist[5] = {-99, 99, 0, -99, 99};
    const int points[5] = {15, -16, 15, -16, 15};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(piece.resist[i], resist[i]) << i;
        EXPECT_EQ(piece.skillPoints[i], points[i]) << i;
    }
    EXPECT_EQ(piece.materialCount[0], 99);
    EXPECT_EQ(piece.materialCount[1], 0);
}

TEST_F(TableParsing, OnlySpacesMayPrecedeACommentMark) {
    EXPECT_EQ(RecordStart("  # note\n"), nullptr);
    EXPECT_STREQ(RecordStart("\t# note\n"), "\t# note\n");
    EXPECT_STREQ(RecordStart("  name,1\n"), "name,1\n");
}

class LoadTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSkills("# skills\r\n" + Sjis("攻撃力UP【小】,攻撃,10,0,攻撃,A") + "\r\n\r\n");
        folder.Write("data/TEVREQUIP_DECO.csv", Sjis("攻撃珠,1,1,攻撃,1,防御,-1,下") + "\r\n");
        const char* files[] = {"HEAD", "BODY", "ARM", "WST", "LEG"};
        for (int slot = 0; slot < kSlotCount; ++slot) {
            folder.Write(std::string("data/TEVREQUIP_") + files[slot] + ".csv",
                         "  # pieces\n" + Sjis("品,0,0,1,2,10,20,0,0,0,0,0,攻撃,2") + "\n");
        }
    }

    void WriteSkills(const std::string& text) { folder.Write("data/SKILL_EQ.csv", text); }
    void WriteLeg(const std::string& text) { folder.Write("data/TEVREQUIP_LEG.csv", text); }
    int Load() { return database.LoadTables(folder.Path(), 0); }

    TempFolder folder;
    CEquipDatabase database;
};

TEST_F(LoadTablesTest, ReadsEveryTableSkipsOnlyCommentsAndFailsOnAMissingOne) {
    ASSERT_EQ(database.LoadTables(folder.Path(), 1), 1);
    ASSERT_EQ(database.Skills().size(), 2u); // the empty line is a record
    EXPECT_STREQ(database.Skills()[1]->skillName, "");
    EXPECT_EQ(database.Decos().size(), 1u);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        ASSERT_EQ(database.Armor(slot).size(), 1u);
        EXPECT_EQ(database.Armor(slot)[0]->kind, slot);
        EXPECT_EQ(database.Armor(slot)[0]->EffectiveDefense(), 10);
    }
    database.SetUseBeforeData(0);
    EXPECT_EQ(database.Armor(kLeg)[0]->EffectiveDefense(), 20);

    // Missing, or in its place a folder (opens, cannot be read), a FIFO (the open would wait for
    // a writer) or a link to an endless device.
    const std::string leg = folder.File("data/TEVREQUIP_LEG.csv");
    const std::function<void()> standIns[] = {
        [] {},
        [&leg] { std::filesystem::create_directory(leg); },
        [&leg] { ASSERT_EQ(::mkfifo(leg.c_str(), 0600), 0); },
        [&leg] { std::filesystem::create_symlink("/dev/zero", leg); },
    };
    for (const auto& standIn : standIns) {
        std::filesystem::remove_all(leg);
        standIn();
        EXPECT_EQ(Load(), 0);
        EXPECT_EQ(database.Skills().size(), 2u);
        EXPECT_EQ(database.Armor(kWaist).size(), 1u);
        EXPECT_TRUE(database.Armor(kLeg).empty());
    }
}

TEST_F(LoadTablesTest, TheDoublingMarkerCountsOnlyOutsideTheBody) {
    const std::string doubling = Sjis("倍加,0,0,1,2,10,20,0,0,0,0,0,胴系倍加,0,攻撃,2") + "\n";
    folder.Write("data/TEVREQUIP_BODY.csv", doubling);
    folder.Write("data/TEVREQUIP_WST.csv", doubling);
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(database.Armor(kBody)[0]->bodyDoubling, 0);
    EXPECT_EQ(database.Armor(kWaist)[0]->bodyDoubling, 1);
}

// Foreign files in the data folder: more lines than any game's table, and lines longer than a
// table line. Tables far larger than a game's still load; only tables past the memory guard,
// which the seven share, are refused, and refusing a file costs no memory.
TEST_F(LoadTablesTest, TablesLoadUpToTheSharedGuardAndAreRefusedPastIt) {
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
    constexpr std::size_t kLimit = CEquipDatabase::kMaxRecords;
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
TEST_F(LoadTablesTest, ALongLineIsReadInPiecesOfItsOwn) {
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
