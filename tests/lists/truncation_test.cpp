#include <cstdint>
#include <string>

#include <gtest/gtest.h>

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

class TruncationTest : public ::testing::Test {
protected:
    Tables tables;
    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(TruncationTest, FixedSetFiles) {
    std::string file = Header(1042, 1) + Entry(0, "piece0a", 2, 1, "small");
    for (int slot = 1; slot < 6; ++slot) {
        file += Entry(slot % 5, "", 0, 0);
    }
    ASSERT_EQ(file.size(), 608u);
    for (std::size_t size = 0; size < file.size(); ++size) {
        folder.Write("Fixed.dat", file.substr(0, size));
        sink.messages.clear();
        FixedRows rows;
        SetFixedPiece(rows.rows[kLeg], tables.pieces[kLeg][1]);
        EXPECT_FALSE(LoadFixedSet(rows, tables.database, FixedSetPath(folder.Path()), sink));
        EXPECT_EQ(rows.rows[kLeg].piece, tables.pieces[kLeg][1]);
        CEquipSet set;
        EXPECT_FALSE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
        EXPECT_TRUE(set.IsEmpty());
        EXPECT_EQ(sink.messages, std::vector<std::string>(2, "装備ファイルではありません")) << size;
    }
}

TEST_F(TruncationTest, ExcludedListFiles) {
    const std::string file =
        Header(1798, 1) + Le(2) + Entry(0, "piece0a", 2, 0) + Entry(5, "", 1, 0, "small");
    for (std::size_t size = 0; size < file.size(); ++size) {
        folder.Write("Exclude.dat", file.substr(0, size));
        sink.messages.clear();
        ExcludedRows rows{MakeExcludedRow(tables.large)};
        EXPECT_FALSE(
            LoadExcludedList(rows, tables.database, true, ExcludedListPath(folder.Path()), sink));
        EXPECT_EQ(rows.size(), 1u);
        CSearchCondition condition;
        EXPECT_FALSE(ReadExcludedForSearch(condition, tables.database, folder.Path(), sink));
        EXPECT_TRUE(condition.excluded[kHead].empty() && condition.excludedDecos.empty());
        EXPECT_FALSE(AppendExcludedPiece(*tables.pieces[kArm][0], folder.Path(), sink));
        EXPECT_EQ(folder.Read("Exclude.dat"), file.substr(0, size));
        EXPECT_EQ(sink.messages, (std::vector<std::string>{"除外装備ファイルではありません",
                                                           "除外装備ファイルの読込に失敗しました",
                                                           "除外装備ファイルではありません"}))
            << size;
    }
}

TEST_F(TruncationTest, OwnedListFiles) {
    const std::string file = Header(1795, 1) + Le(2) + Owned(0, "piece0a") + Owned(5, "small");
    for (std::size_t size = 0; size < file.size(); ++size) {
        folder.Write("OwnEquip.dat", file.substr(0, size));
        sink.messages.clear();
        OwnedLists owned;
        owned.Add(tables.large);
        EXPECT_FALSE(
            LoadOwnedList(owned, tables.database, false, OwnedListPath(folder.Path()), sink));
        EXPECT_EQ(owned.TotalCount(), 1u);
        CSearchCondition condition;
        EXPECT_FALSE(ReadOwnedForSearch(condition, tables.database, folder.Path(), sink));
        EXPECT_TRUE(condition.owned[kHead].empty() && condition.ownedDecos.empty());
        EXPECT_EQ(sink.messages, (std::vector<std::string>{"所有装備ファイルではありません",
                                                           "所持装備ファイルの読込に失敗しました"}))
            << size;
    }
}

// Unterminated name fields end where the field ends and never run into the next field.
TEST_F(TruncationTest, FullNameFieldsStayWithinTheirFields) {
    const std::string longName(24, 'x');
    const std::string longDeco(21, 'y');
    folder.Write("Exclude.dat",
                 Header(1798, 1) + Le(1) + Entry(0, longName, 2, 3, longDeco, longDeco, longDeco));
    std::vector<EquipFileEntry> entries;
    platform::Bytes bytes;
    ASSERT_TRUE(platform::ReadWholeFile(ExcludedListPath(folder.Path()), bytes));
    ASSERT_EQ(ParseExcludedListFile(bytes, entries), ListFileStatus::kOk);
    EXPECT_EQ(entries[0].armorName, longName);
    EXPECT_EQ(entries[0].slotNumber, 2);
    EXPECT_EQ(entries[0].decoNames[2], longDeco);
    tables.AddPiece(kHead, std::string(20, 'x'), 1);
    CSearchCondition condition;
    EXPECT_TRUE(ReadExcludedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_TRUE(condition.excluded[kHead].empty());
}

} // namespace
