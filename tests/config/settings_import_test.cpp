#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/import_writers.h"
#include "config/settings_import.h"
#include "lists/excluded_list_file.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

std::string Le(std::int32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
    }
    return out;
}

std::string Field(const std::string& text, std::size_t width) {
    std::string out = text;
    out.resize(width, '\0');
    return out;
}

TEST(SettingsImportLines, TakeTheNameFieldOfEachKnownTag) {
    CSettingsImport import;
    for (const char* line :
         {"EE,1,helm,9\n", "PE,2,mail,x\n", "PD,3,4,gem,5\r\n", "PD,1,short\n", "ee,1,lower,2\n",
          "EEX,1,longer,2\n", "MH,1,other,2\n", "P,a,b,c\n", "EE\n", "EE,1,truncated"}) {
        import.ParseLine(line);
    }
    EXPECT_EQ(import.m_excludedNames, (Names{"helm", "EE", "1"}));
    EXPECT_EQ(import.m_ownedNames, (Names{"mail", "gem", "short"}));
}

TEST(SettingsImportLines, CutLongFieldsAndTags) {
    CSettingsImport import;
    const std::string longName(40, 'n');
    import.ParseLine(("EE,1," + longName + ",2\n").c_str());
    import.ParseLine(("PE,99999999999999," + longName + "\n").c_str());
    import.ParseLine("EEEEEEEEEEEEEEEEEEEE,1,x,2\n");
    EXPECT_EQ(import.m_excludedNames, (Names{std::string(31, 'n')}));
    EXPECT_EQ(import.m_ownedNames, (Names{std::string(31, 'n')}));
}

class SettingsImportTest : public ::testing::Test {
protected:
    SettingsImportTest() {
        helm = AddPiece(kHead, "helm");
        mail = AddPiece(kBody, "mail");
        gem = AddDeco("gem");
        AddDeco("helm");
    }
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    CEquipData* AddPiece(int slot, const char* name) {
        CEquipData piece;
        piece.kind = slot;
        std::strcpy(piece.name, name);
        piece.slots = 2;
        return &database.AddArmor(slot, piece);
    }
    CDecoData* AddDeco(const char* name) {
        CDecoData deco;
        std::strcpy(deco.name, name);
        deco.size = 1;
        return &database.AddDeco(deco);
    }

    CEquipDatabase database;
    CEquipData* helm = nullptr;
    CEquipData* mail = nullptr;
    CDecoData* gem = nullptr;
    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(SettingsImportTest, ReadsTheFileLineByLineAfterEmptyingTheLists) {
    CSettingsImport import;
    import.m_ownedNames = {"stale"};
    EXPECT_FALSE(import.ImportSettings(folder.File("missing.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty());

    folder.Write("settings.csv", "EE,0,helm,1\r\nPD,0,0,gem,1\r\nMH," + std::string(508, 'z') +
                                     "PE,0,mail,1\nPE,0,last");
    ASSERT_TRUE(import.ImportSettings(folder.File("settings.csv")));
    EXPECT_EQ(import.m_excludedNames, (Names{"helm"}));
    // The part of a line beyond 511 bytes is a line of its own; the last line has no end, so its
    // name field is never closed and the field before it stands in.
    EXPECT_EQ(import.m_ownedNames, (Names{"gem", "mail", "PE"}));
}

TEST_F(SettingsImportTest, FindsArmourBeforeDecorationsAndNeverAnEmptyName) {
    int kind = -1;
    EXPECT_TRUE(FindEquipKind(database, "helm", kind));
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(FindEquipKind(database, "gem", kind));
    EXPECT_EQ(kind, 5);
    kind = -1;
    EXPECT_FALSE(FindEquipKind(database, "", kind));
    EXPECT_FALSE(FindEquipKind(database, "Helm", kind));
    EXPECT_EQ(kind, -1);
}

TEST_F(SettingsImportTest, WritesFoundExcludedNamesThatTheDialogCanLoad) {
    const std::string path = folder.File("out.eqe");
    ASSERT_TRUE(WriteImportedExcludedList(database, path, {"unknown", "mail", "gem"}, sink));
    const std::string mailEntry = Le(1) + Field("mail", 24) + std::string(72, '\0');
    const std::string gemEntry = Le(5) + std::string(32, '\0') + Field("gem", 63) + '\0';
    EXPECT_EQ(folder.Read("out.eqe"), Le(1798) + Le(1) + Le(2) + mailEntry + gemEntry);

    ExcludedRows rows;
    ASSERT_TRUE(LoadExcludedList(rows, database, false, path, sink));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].piece, mail);
    EXPECT_EQ(rows[1].deco, gem);
}

TEST_F(SettingsImportTest, OwnedFileCountsEveryNameAndZeroFillsTheMissingOnes) {
    ASSERT_TRUE(
        WriteImportedOwnedList(database, folder.File("out.eqo"), {"helm", "nope", "gem"}, sink));
    EXPECT_EQ(folder.Read("out.eqo"), Le(1795) + Le(1) + Le(3) + Le(0) + Field("helm", 24) + Le(5) +
                                          Field("gem", 24) + std::string(28, '\0'));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SettingsImportTest, AFailedWriteIsReportedAndKeepsThePreviousFile) {
    folder.Write("out.eqe", "old");
    folder.Write("out.eqo", "old");
    platform::InjectSaveFaultAfter(4);
    EXPECT_FALSE(WriteImportedExcludedList(database, folder.File("out.eqe"), {"helm"}, sink));
    EXPECT_FALSE(WriteImportedOwnedList(database, folder.File("out.eqo"), {"helm"}, sink));
    EXPECT_EQ(folder.Read("out.eqe"), "old");
    EXPECT_EQ(folder.Read("out.eqo"), "old");
    EXPECT_EQ(sink.messages,
              (Names{"除外装備の保存に失敗しました", "所有装備の保存に失敗しました"}));
}

} // namespace
