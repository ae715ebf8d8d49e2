#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "list_test_support.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"
#include "platform/safe_save.h"

namespace {

using namespace list_test;

const char kNotOwned[] = "所有装備ファイルではありません";
const char kWrongVersion[] = "所有装備ファイルのバージョンが違います";

class OwnedListFileTest : public ::testing::Test {
protected:
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    std::string ListFile(const std::vector<std::string>& entries) const {
        std::string file = Header(1795, 1) + Le(static_cast<std::int32_t>(entries.size()));
        for (const std::string& entry : entries) {
            file += entry;
        }
        return file;
    }

    CEquipData* Piece(int slot, int which = 0) const { return tables.pieces[slot][which]; }

    Tables tables;
    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(OwnedListFileTest, WritesTheSlotsInOrderThenTheDecorations) {
    ASSERT_TRUE(SaveOwnedList(OwnedLists{}, folder.File("empty.eqo"), sink));
    EXPECT_EQ(folder.Read("empty.eqo"), std::string("\x03\x07\0\0\x01\0\0\0\0\0\0\0", 12));

    OwnedLists owned;
    owned.Add(tables.large);
    owned.Add(Piece(kLeg));
    owned.Add(Piece(kHead, 1));
    owned.Add(Piece(kHead));
    EXPECT_FALSE(owned.Add(Piece(kHead)));
    ASSERT_TRUE(SaveOwnedList(owned, folder.File("owned.eqo"), sink));
    EXPECT_EQ(folder.Read("owned.eqo"), ListFile({Owned(0, "piece0b"), Owned(0, "piece0a"),
                                                  Owned(4, "piece4a"), Owned(5, "large")}));

    OwnedLists loaded;
    ASSERT_TRUE(LoadOwnedList(loaded, tables.database, false, folder.File("owned.eqo"), sink));
    EXPECT_EQ(loaded.armor[kHead], owned.armor[kHead]);
    EXPECT_EQ(loaded.armor[kLeg], owned.armor[kLeg]);
    EXPECT_EQ(loaded.decos, owned.decos);
    EXPECT_TRUE(sink.messages.empty());
}

// A file never puts a record into the lists twice, whether it replaces or adds.
TEST_F(OwnedListFileTest, LoadingSkipsEmptyUnknownAndRepeatedEntries) {
    folder.Write("owned.eqo", ListFile({Owned(2, "piece2b"), Owned(2, "piece2b"), Owned(5, "small"),
                                        Owned(3, "piece2a"), Owned(6, "small"), Owned(0, "nobody"),
                                        std::string(28, '\0'), std::string(28, '\0')}));
    OwnedLists owned;
    owned.Add(Piece(kBody));
    ASSERT_TRUE(LoadOwnedList(owned, tables.database, false, folder.File("owned.eqo"), sink));
    EXPECT_EQ(owned.TotalCount(), 2u);
    EXPECT_EQ(owned.armor[kArm], (std::vector<CEquipData*>{Piece(kArm, 1)}));
    EXPECT_EQ(owned.decos, (std::vector<CDecoData*>{tables.small}));

    owned.Add(Piece(kBody));
    ASSERT_TRUE(LoadOwnedList(owned, tables.database, true, folder.File("owned.eqo"), sink));
    EXPECT_EQ(owned.TotalCount(), 3u);
    EXPECT_EQ(owned.armor[kBody], (std::vector<CEquipData*>{Piece(kBody)}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(OwnedListFileTest, RefusedFilesLeaveTheListsAsTheyWere) {
    folder.Write("excluded.eqe", Header(1798, 1) + Le(0));
    folder.Write("v2.eqo", Header(1795, 2) + Le(0));
    folder.Write("huge.eqo", Header(1795, 1) + Le(0x7FFFFFFF) + Owned(0, "piece0a"));
    OwnedLists owned;
    owned.Add(tables.medium);
    for (const char* name : {"excluded.eqe", "v2.eqo", "huge.eqo", "missing.eqo"}) {
        EXPECT_FALSE(LoadOwnedList(owned, tables.database, false, folder.File(name), sink));
    }
    EXPECT_EQ(owned.TotalCount(), 1u);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{kNotOwned, kWrongVersion, kNotOwned}));
}

TEST_F(OwnedListFileTest, SearchStartAppendsEveryEntryAndReportsABadFile) {
    CSearchCondition condition;
    EXPECT_FALSE(ReadOwnedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_TRUE(sink.messages.empty());

    folder.Write("OwnEquip.dat", ListFile({Owned(1, "piece1a"), Owned(1, "piece1a"),
                                           Owned(5, "medium"), std::string(28, '\0')}));
    ASSERT_TRUE(ReadOwnedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_EQ(condition.owned[kBody], (std::vector<CEquipData*>{Piece(kBody), Piece(kBody)}));
    EXPECT_EQ(condition.ownedDecos, (std::vector<CDecoData*>{tables.medium}));

    folder.Write("OwnEquip.dat", Header(1795, 9) + Le(0));
    EXPECT_FALSE(ReadOwnedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"所持装備ファイルの読込に失敗しました"}));
    EXPECT_EQ(condition.owned[kBody].size(), 2u);
}

TEST_F(OwnedListFileTest, AFailedSaveKeepsThePreviousFile) {
    const std::string path = OwnedListPath(folder.Path());
    OwnedLists owned;
    owned.Add(Piece(kHead));
    ASSERT_TRUE(SaveOwnedList(owned, path, sink));
    const std::string before = folder.Read("OwnEquip.dat");
    owned.Add(Piece(kArm));
    platform::InjectSaveFaultAfter(30);
    EXPECT_FALSE(SaveOwnedList(owned, path, sink));
    EXPECT_EQ(folder.Read("OwnEquip.dat"), before);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"所有装備の保存に失敗しました"}));
}

} // namespace
