#include <string>

#include "list_test_support.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"

namespace {

using namespace list_test;
using OwnedListFileTest = ListFilesTest;

TEST_F(OwnedListFileTest, WritesTheSlotsInOrderThenTheDecorationsAndReadsThemBack) {
    ASSERT_TRUE(SaveOwnedList(OwnedLists{}, folder.File("empty.eqo"), sink));
    EXPECT_EQ(folder.Read("empty.eqo"), std::string("\x03\x07\0\0\x01\0\0\0\0\0\0\0", 12));

    OwnedLists owned;
    owned.Add(large);
    owned.Add(Piece(kLeg));
    owned.Add(Piece(kHead, 1));
    owned.Add(Piece(kHead));
    EXPECT_FALSE(owned.Add(Piece(kHead)));
    ASSERT_TRUE(SaveOwnedList(owned, folder.File("owned.eqo"), sink));
    EXPECT_EQ(folder.Read("owned.eqo"), File(1795, {Owned(0, "piece0b"), Owned(0, "piece0a"),
                                                    Owned(4, "piece4a"), Owned(5, "large")}));

    OwnedLists loaded;
    ASSERT_TRUE(LoadOwnedList(loaded, database, false, folder.File("owned.eqo"), sink));
    EXPECT_EQ(loaded.armor[kHead], owned.armor[kHead]);
    EXPECT_EQ(loaded.armor[kLeg], owned.armor[kLeg]);
    EXPECT_EQ(loaded.decos, owned.decos);
    EXPECT_EQ(loaded.TotalCount(), 4u);
}

// A file never puts a record into the lists twice, whether it replaces or adds; the search-time
// reader keeps every entry as it comes. An entry without a name is passed over even when a table
// line without a name gave a record named "".
TEST_F(OwnedListFileTest, LoadingSkipsEmptyUnknownAndRepeatedEntries) {
    AddPiece(kHead, "", 1);
    const std::string file =
        File(1795,
             {Owned(2, "piece2b"), Owned(2, "piece2b"), Owned(5, "small"), Owned(3, "piece2a"),
              Owned(6, "small"), Owned(0, "nobody"), std::string(28, '\0'), std::string(28, '\0')});
    folder.Write("OwnEquip.dat", file);
    OwnedLists owned;
    owned.Add(Piece(kBody));
    ASSERT_TRUE(LoadOwnedList(owned, database, false, OwnedListPath(folder.Path()), sink));
    EXPECT_EQ(owned.TotalCount(), 2u);
    EXPECT_EQ(owned.armor[kArm], (std::vector<CEquipData*>{Piece(kArm, 1)}));
    owned.Add(Piece(kBody));
    ASSERT_TRUE(LoadOwnedList(owned, database, true, OwnedListPath(folder.Path()), sink));
    EXPECT_EQ(owned.TotalCount(), 3u);

    CSearchCondition condition;
    ASSERT_TRUE(ReadOwnedForSearch(condition, database, folder.Path(), sink));
    EXPECT_EQ(condition.owned[kArm], (std::vector<CEquipData*>{Piece(kArm, 1), Piece(kArm, 1)}));
    EXPECT_EQ(condition.ownedDecos, (std::vector<CDecoData*>{small}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(OwnedListFileTest, RefusedFilesChangeNothing) {
    folder.Write("excluded.eqe", File(1798, {}));
    folder.Write("v2.eqo", File(1795, {}).replace(4, 1, "\x02"));
    folder.Write("huge.eqo", File(1795, {Owned(0, "piece0a")}).replace(8, 4, Le(0x7FFFFFFF)));
    OwnedLists owned;
    owned.Add(medium);
    for (const char* name : {"excluded.eqe", "v2.eqo", "huge.eqo", "missing.eqo"}) {
        EXPECT_FALSE(LoadOwnedList(owned, database, false, folder.File(name), sink));
    }
    CSearchCondition condition;
    EXPECT_FALSE(ReadOwnedForSearch(condition, database, folder.Path(), sink));
    folder.Write("OwnEquip.dat", folder.Read("v2.eqo"));
    EXPECT_FALSE(ReadOwnedForSearch(condition, database, folder.Path(), sink));
    EXPECT_EQ(owned.decos, (std::vector<CDecoData*>{medium}));
    EXPECT_EQ(sink.messages,
              Messages({"所有装備ファイルではありません", "所有装備ファイルのバージョンが違います",
                        "所有装備ファイルではありません", "所持装備ファイルの読込に失敗しました"}));
}

} // namespace
