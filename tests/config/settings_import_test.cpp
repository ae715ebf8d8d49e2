#include <string>
#include <vector>

#include "config/import_writers.h"
#include "config/settings_import.h"
#include "lists/excluded_list_file.h"
#include "lists/list_test_support.h"

namespace {

using namespace list_test;
using Names = std::vector<std::string>;
using SettingsImportTest = ListFilesTest;

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

// The part of a line beyond 511 bytes is a line of its own. A file far larger than any game's
// is refused before its names cost memory and time.
TEST_F(SettingsImportTest, ReadsTheFileLineByLineUpToTheSizeLimit) {
    CSettingsImport import;
    import.m_ownedNames = {"stale"};
    EXPECT_FALSE(import.ImportSettings(folder.File("missing.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty());
    folder.Write("settings.csv", "EE,0,helm,1\r\nPD,0,0,gem,1\r\nMH," + std::string(508, 'z') +
                                     "PE,0,mail,1\nPE,0,last");
    ASSERT_TRUE(import.ImportSettings(folder.File("settings.csv")));
    EXPECT_EQ(import.m_excludedNames, (Names{"helm"}));
    EXPECT_EQ(import.m_ownedNames, (Names{"gem", "mail", "PE"}));

    const std::string line = "PD,0,0,gem\nEE,0,helm\n";
    std::string text;
    while (text.size() + line.size() <= CSettingsImport::kMaxFileSize) {
        text += line;
    }
    text.resize(CSettingsImport::kMaxFileSize, '\n');
    folder.Write("full.csv", text);
    ASSERT_TRUE(import.ImportSettings(folder.File("full.csv")));
    EXPECT_EQ(import.m_ownedNames.size(), text.size() / line.size());
    EXPECT_EQ(import.m_ownedNames.size(), import.m_excludedNames.size());
    folder.Write("over.csv", text + "PD,0,0,gem\n");
    EXPECT_FALSE(import.ImportSettings(folder.File("over.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty() && import.m_excludedNames.empty());
}

// A table line without a name gives a record named "", which an empty name finds like any other.
TEST_F(SettingsImportTest, FindsArmourBeforeDecorationsAndEmptyNamesOnlyWhereATableHasOne) {
    AddDeco("piece3a", 1);
    int kind = -1;
    EXPECT_TRUE(FindEquipKind(database, "piece3a", kind));
    EXPECT_EQ(kind, 3);
    EXPECT_TRUE(FindEquipKind(database, "large", kind));
    EXPECT_EQ(kind, 5);
    EXPECT_FALSE(FindEquipKind(database, "Large", kind));
    EXPECT_FALSE(FindEquipKind(database, "", kind));
    AddPiece(kArm, "", 1);
    EXPECT_TRUE(FindEquipKind(database, "", kind));
    EXPECT_EQ(kind, 2);
}

TEST_F(SettingsImportTest, WritesFilesTheDialogsCanLoad) {
    const std::string eqe = folder.File("out.eqe");
    ASSERT_TRUE(WriteImportedExcludedList(database, eqe, {"unknown", "piece1b", "small"}, sink));
    EXPECT_EQ(folder.Read("out.eqe"),
              File(1798, {Entry(1, "piece1b", 0), Entry(5, "", 0, 0, "small")}));
    ExcludedRows rows;
    ASSERT_TRUE(LoadExcludedList(rows, database, false, eqe, sink));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].piece, Piece(kBody, 1));
    EXPECT_EQ(rows[1].deco, small);

    AddPiece(kArm, "", 1);
    ASSERT_TRUE(WriteImportedOwnedList(database, folder.File("out.eqo"),
                                       {"piece0a", "nope", "", "small"}, sink));
    EXPECT_EQ(folder.Read("out.eqo"),
              File(1795, {Owned(0, "piece0a"), Owned(2, ""), Owned(5, "small"), Owned(0, "")}));
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
