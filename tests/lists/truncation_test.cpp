#include <string>

#include "list_test_support.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_format.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"

// Every proper prefix of a good file is refused by every reader with the format's message, and
// leaves memory and, for the append, the file itself as they were.
namespace {

using namespace list_test;
using TruncationTest = ListFilesTest;

TEST_F(TruncationTest, EveryPrefixOfEveryFormatIsRefused) {
    const std::string fixed =
        File(1042, {Entry(0, "piece0a", 2, 1, "small"), Entry(1, "", 0), Entry(2, "", 0),
                    Entry(3, "", 0), Entry(4, "", 0), Entry(0, "", 1)});
    const std::string excluded = File(1798, {Entry(0, "piece0a", 2), Entry(5, "", 1, 0, "small")});
    const std::string owned = File(1795, {Owned(0, "piece0a"), Owned(5, "small")});
    for (std::size_t size = 0; size < fixed.size(); ++size) {
        sink.messages.clear();
        folder.Write("Fixed.dat", fixed.substr(0, size));
        folder.Write("Exclude.dat", excluded.substr(0, std::min(size, excluded.size() - 1)));
        folder.Write("OwnEquip.dat", owned.substr(0, std::min(size, owned.size() - 1)));
        FixedRows rows;
        SetFixedPiece(rows.rows[kLeg], Piece(kLeg));
        ExcludedRows excludedRows{MakeExcludedRow(large)};
        OwnedLists ownedLists;
        CSearchCondition condition;
        EXPECT_FALSE(LoadFixedSet(rows, database, FixedSetPath(folder.Path()), sink));
        EXPECT_FALSE(ReadFixedForSearch(condition.fixed, database, folder.Path(), sink));
        EXPECT_FALSE(
            LoadExcludedList(excludedRows, database, false, ExcludedListPath(folder.Path()), sink));
        EXPECT_FALSE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
        EXPECT_FALSE(AppendExcludedPiece(*Piece(kArm), folder.Path(), sink));
        EXPECT_FALSE(
            LoadOwnedList(ownedLists, database, false, OwnedListPath(folder.Path()), sink));
        EXPECT_FALSE(ReadOwnedForSearch(condition, database, folder.Path(), sink));

        EXPECT_EQ(rows.rows[kLeg].piece, Piece(kLeg));
        EXPECT_TRUE(condition.fixed.IsEmpty() && condition.excluded[kHead].empty() &&
                    condition.owned[kHead].empty());
        EXPECT_EQ(excludedRows.size(), 1u);
        EXPECT_EQ(ownedLists.TotalCount(), 0u);
        EXPECT_EQ(folder.Read("Exclude.dat").size(), std::min(size, excluded.size() - 1));
        EXPECT_EQ(
            sink.messages,
            Messages({"装備ファイルではありません", "装備ファイルではありません",
                      "除外装備ファイルではありません", "除外装備ファイルの読込に失敗しました",
                      "除外装備ファイルではありません", "所有装備ファイルではありません",
                      "所持装備ファイルの読込に失敗しました"}))
            << size;
    }
}

// Unterminated name fields end where the field ends and never run into the next field.
TEST_F(TruncationTest, FullNameFieldsStayWithinTheirFields) {
    folder.Write("Exclude.dat",
                 File(1798, {Entry(0, std::string(24, 'x'), 2, 3, std::string(21, 'y'))}));
    platform::Bytes bytes;
    ASSERT_TRUE(platform::ReadWholeFile(ExcludedListPath(folder.Path()), bytes));
    std::vector<EquipFileEntry> entries;
    ASSERT_EQ(ParseExcludedListFile(bytes, entries), ListFileStatus::kOk);
    EXPECT_EQ(entries[0].armorName, std::string(24, 'x'));
    EXPECT_EQ(entries[0].slotNumber, 2);
    EXPECT_EQ(entries[0].decoNames[0], std::string(21, 'y'));
    EXPECT_EQ(entries[0].decoNames[1], "");
    AddPiece(kHead, std::string(20, 'x'), 1);
    CSearchCondition condition;
    EXPECT_TRUE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    EXPECT_TRUE(condition.excluded[kHead].empty());
}

} // namespace
