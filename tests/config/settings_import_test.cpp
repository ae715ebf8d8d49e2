#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/import_writers.h"
#include "config/settings_import.h"
#include "lists/excluded_list_file.h"
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

std::string Field(std::string text, std::size_t width) {
    text.resize(width, '\0');
    return text;
}

// The name is the last field read into one buffer, so a missing name field leaves the one
// before it.
TEST(SettingsImportLines, TakeTheNameFieldOfEachKnownTag) {
    CSettingsImport import;
    for (const std::string& line : std::vector<std::string>{
             "EE,1,helm,9\n", "PE,2,mail,x\n", "PD,3,4,gem,5\r\n", "PD,1,short\n", "ee,1,lower,2\n",
             "EEX,1,longer,2\n", "MH,1,other,2\n", "EE,1,truncated", "EE,1," + std::string(40, 'n'),
             "PE,99999999999999," + std::string(40, 'n') + "\n"}) {
        import.ParseLine(line.c_str());
    }
    EXPECT_EQ(import.m_excludedNames, (Names{"helm", "1", "1"}));
    EXPECT_EQ(import.m_ownedNames, (Names{"mail", "gem", "short", std::string(31, 'n')}));
}

class SettingsImportTest : public ::testing::Test {
protected:
    SettingsImportTest() {
        helm = &database.AddArmor(kHead, Piece(kHead, "helm"));
        mail = &database.AddArmor(kBody, Piece(kBody, "mail"));
        CDecoData deco;
        std::strcpy(deco.name, "gem");
        deco.size = 1;
        gem = &database.AddDeco(deco);
        std::strcpy(deco.name, "helm");
        database.AddDeco(deco);
    }
    static CEquipData Piece(int slot, const char* name) {
        CEquipData piece;
        piece.kind = slot;
        std::strcpy(piece.name, name);
        return piece;
    }

    CEquipDatabase database;
    CEquipData* helm = nullptr;
    CEquipData* mail = nullptr;
    CDecoData* gem = nullptr;
    TempFolder folder;
    platform::RecordingSink sink;
};

// The part of a line beyond 511 bytes is a line of its own.
TEST_F(SettingsImportTest, ReadsTheFileLineByLineAfterEmptyingTheLists) {
    CSettingsImport import;
    import.m_ownedNames = {"stale"};
    EXPECT_FALSE(import.ImportSettings(folder.File("missing.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty());

    folder.Write("settings.csv", "EE,0,helm,1\r\nPD,0,0,gem,1\r\nMH," + std::string(508, 'z') +
                                     "PE,0,mail,1\nPE,0,last");
    ASSERT_TRUE(import.ImportSettings(folder.File("settings.csv")));
    EXPECT_EQ(import.m_excludedNames, (Names{"helm"}));
    EXPECT_EQ(import.m_ownedNames, (Names{"gem", "mail", "PE"}));
}

// A settings file far larger than any game's is refused before its names cost memory and time.
TEST_F(SettingsImportTest, AFileUpToTheLimitIsReadAndALargerOneIsRefusedWithNothingKept) {
    const std::string line = "PD,0,0,gem\nEE,0,helm\n";
    std::string text;
    while (text.size() + line.size() <= CSettingsImport::kMaxFileSize) {
        text += line;
    }
    text.resize(CSettingsImport::kMaxFileSize, '\n');
    folder.Write("full.csv", text);
    CSettingsImport import;
    ASSERT_TRUE(import.ImportSettings(folder.File("full.csv")));
    EXPECT_EQ(import.m_ownedNames.size(), text.size() / line.size());
    EXPECT_EQ(import.m_ownedNames.size(), import.m_excludedNames.size());

    folder.Write("over.csv", text + "PD,0,0,gem\n");
    EXPECT_FALSE(import.ImportSettings(folder.File("over.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty() && import.m_excludedNames.empty());
}

// A table line without a name gives a record named "", which an empty name finds like any other.
TEST_F(SettingsImportTest, FindsArmourBeforeDecorationsAndEmptyNamesOnlyWhereATableHasOne) {
    int kind = -1;
    EXPECT_TRUE(FindEquipKind(database, "helm", kind));
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(FindEquipKind(database, "gem", kind));
    EXPECT_EQ(kind, 5);
    EXPECT_FALSE(FindEquipKind(database, "Helm", kind));
    EXPECT_FALSE(FindEquipKind(database, "", kind));
    database.AddArmor(kArm, Piece(kArm, ""));
    EXPECT_TRUE(FindEquipKind(database, "", kind));
    EXPECT_EQ(kind, 2);
}

TEST_F(SettingsImportTest, WritesFilesTheDialogsCanLoad) {
    const std::string eqe = folder.File("out.eqe");
    ASSERT_TRUE(WriteImportedExcludedList(database, eqe, {"unknown", "mail", "gem"}, sink));
    EXPECT_EQ(folder.Read("out.eqe"), Le(1798) + Le(1) + Le(2) + Le(1) + Field("mail", 96) + Le(5) +
                                          std::string(32, '\0') + Field("gem", 64));
    ExcludedRows rows;
    ASSERT_TRUE(LoadExcludedList(rows, database, false, eqe, sink));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].piece, mail);
    EXPECT_EQ(rows[1].deco, gem);

    database.AddArmor(kArm, Piece(kArm, ""));
    ASSERT_TRUE(WriteImportedOwnedList(database, folder.File("out.eqo"),
                                       {"helm", "nope", "", "gem"}, sink));
    EXPECT_EQ(folder.Read("out.eqo"), Le(1795) + Le(1) + Le(4) + Le(0) + Field("helm", 24) + Le(2) +
                                          std::string(24, '\0') + Le(5) + Field("gem", 24) +
                                          std::string(28, '\0'));
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
