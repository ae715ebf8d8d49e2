#include <string>

#include "list_test_support.h"
#include "lists/fixed_set_file.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"

namespace {

using namespace list_test;
using FixedSetFileTest = ListFilesTest;

const char kNotFixedSet[] = "装備ファイルではありません";
const char kWrongVersion[] = "装備ファイルのバージョンが違います";

std::string EmptyFixedSet(int weaponSlots) {
    return File(1042, {Entry(0, "", 0), Entry(1, "", 0), Entry(2, "", 0), Entry(3, "", 0),
                       Entry(4, "", 0), Entry(0, "", weaponSlots)});
}

TEST_F(FixedSetFileTest, WritesTheDialogRowsAndAResultSetByteForByte) {
    ASSERT_TRUE(SaveFixedSet(FixedRows{}, folder.File("empty.eq"), sink));
    EXPECT_EQ(folder.Read("empty.eq").size(), 608u);
    EXPECT_EQ(folder.Read("empty.eq"), EmptyFixedSet(0));

    FixedRows rows;
    SetFixedPiece(rows.rows[kBody], Piece(kBody, 1));
    AttachDecoration(rows.rows[kBody], small);
    AttachDecoration(rows.rows[kBody], medium);
    rows.weaponSlots = 3;
    ResetFixedRow(rows.rows[kWeaponPosition], 3);
    AttachDecoration(rows.rows[kWeaponPosition], large);
    ASSERT_TRUE(SaveFixedSet(rows, folder.File("rows.eq"), sink));
    EXPECT_EQ(
        folder.Read("rows.eq"),
        File(1042, {Entry(0, "", 0), Entry(1, "piece1b", 3, 2, "small", "medium"), Entry(2, "", 0),
                    Entry(3, "", 0), Entry(4, "", 0), Entry(0, "", 3, 1, "large")}));

    CEquipSet set;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        set.pieces[slot] = Piece(slot);
    }
    set.AddDeco(kArm, medium);
    set.AddDeco(kWeaponPosition, small);
    set.weaponSlots = 1;
    ASSERT_TRUE(SaveResultAsFixedSet(set, folder.File("result.eq"), sink));
    EXPECT_EQ(folder.Read("result.eq"),
              File(1042, {Entry(0, "piece0a", 2), Entry(1, "piece1a", 2),
                          Entry(2, "piece2a", 2, 1, "medium"), Entry(3, "piece3a", 2),
                          Entry(4, "piece4a", 2), Entry(0, "", 1, 1, "small")}));

    EXPECT_TRUE(sink.messages.empty());
}

// The dialog resets each named row and fits decorations into free slots, looking at all three
// names, and keeps a row whose name matches nothing as it was; the search takes the counted
// decorations as they are, even without their piece. Empty names are passed over, though a table
// line without a name gives a decoration named "".
TEST_F(FixedSetFileTest, DialogAndSearchReadTheSameFileDifferently) {
    AddDeco("", 1);
    folder.Write(
        "Fixed.dat",
        File(1042, {Entry(0, "piece0a", 2, 3, "small", "", "small"),
                    Entry(1, "gone", 3, 1, "medium"), Entry(2, "piece2a", 2, 0, "small"),
                    Entry(3, "piece3b", 3, 9, "medium", "medium", "large"),
                    Entry(4, "", 0, 1, "small"), Entry(0, "", 7, 3, "large", "", "small")}));
    FixedRows rows;
    SetFixedPiece(rows.rows[kBody], Piece(kBody));
    SetFixedPiece(rows.rows[kLeg], Piece(kLeg));
    ASSERT_TRUE(LoadFixedSet(rows, database, FixedSetPath(folder.Path()), sink));
    EXPECT_EQ(rows.rows[kHead].decos[1], small);
    EXPECT_EQ(rows.rows[kHead].freeSlots, 0);
    EXPECT_EQ(rows.rows[kBody].piece, Piece(kBody));
    EXPECT_EQ(rows.rows[kBody].decos[0], medium);
    EXPECT_EQ(rows.rows[kArm].decos[0], small);
    EXPECT_EQ(rows.rows[kWaist].decos[0], medium);
    EXPECT_EQ(rows.rows[kWaist].decos[1], nullptr);
    EXPECT_EQ(rows.rows[kLeg].piece, nullptr);
    EXPECT_EQ(rows.weaponSlots, 3);
    EXPECT_EQ(rows.rows[kWeaponPosition].decos[0], large);
    EXPECT_EQ(rows.rows[kWeaponPosition].decos[1], nullptr);

    CEquipSet set;
    ASSERT_TRUE(ReadFixedForSearch(set, database, folder.Path(), sink));
    EXPECT_EQ(set.pieces[kHead], Piece(kHead));
    EXPECT_EQ(set.decos[kHead][1], small);
    EXPECT_EQ(set.decos[kHead][2], nullptr);
    EXPECT_EQ(set.pieces[kBody], nullptr);
    EXPECT_EQ(set.decos[kBody][0], medium);
    EXPECT_EQ(set.decos[kArm][0], nullptr);
    EXPECT_EQ(set.decos[kWaist][2], large);
    EXPECT_EQ(set.decos[kLeg][0], nullptr);
    EXPECT_EQ(set.weaponSlots, 3);
    EXPECT_EQ(set.decos[kWeaponPosition][1], small);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FixedSetFileTest, RefusedFilesChangeNothing) {
    folder.Write("excluded.eqe", File(1798, {}));
    folder.Write("v2.eq", EmptyFixedSet(0).replace(4, 1, "\x02"));
    folder.Write("short.eq", EmptyFixedSet(0).substr(0, 607));
    FixedRows rows;
    SetFixedPiece(rows.rows[kHead], Piece(kHead));
    for (const char* name : {"excluded.eqe", "v2.eq", "short.eq", "missing.eq"}) {
        EXPECT_FALSE(LoadFixedSet(rows, database, folder.File(name), sink));
    }
    EXPECT_EQ(sink.messages, Messages({kNotFixedSet, kWrongVersion, kNotFixedSet}));
    EXPECT_EQ(rows.rows[kHead].piece, Piece(kHead));
    EXPECT_EQ(rows.rows[kHead].freeSlots, 2);

    sink.messages.clear();
    CEquipSet set;
    EXPECT_FALSE(ReadFixedForSearch(set, database, folder.Path(), sink));
    folder.Write("Fixed.dat", EmptyFixedSet(2).replace(4, 1, "\x03"));
    EXPECT_FALSE(ReadFixedForSearch(set, database, folder.Path(), sink));
    EXPECT_EQ(sink.messages, Messages({"固定装備の読み込みに失敗しました", kWrongVersion}));
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_EQ(set.weaponSlots, 0);
}

} // namespace
