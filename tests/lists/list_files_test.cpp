#include <string>

#include "engine/tables/sjis_text.h"
#include "list_test_support.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"

// The three list formats written byte for byte and read by the dialogs and the search.
namespace {

using namespace list_test;
using ExcludedListFileTest = ListFilesTest;
using FixedSetFileTest = ListFilesTest;
using OwnedListFileTest = ListFilesTest;

TEST_F(ExcludedListFileTest, WritesArmourDecorationAndRecordlessRows) {
    ASSERT_TRUE(SaveExcludedList({}, folder.File("empty.eqe"), sink));
    EXPECT_EQ(folder.Read("empty.eqe"), std::string("\x06\x07\0\0\x01\0\0\0\0\0\0\0", 12));

    ExcludedRows rows{MakeExcludedRow(Piece(kWaist, 1)), MakeExcludedRow(medium),
                      ExcludedRow{sjis::kSlotHead, nullptr, nullptr}};
    ASSERT_TRUE(SaveExcludedList(rows, folder.File("rows.eqe"), sink));
    EXPECT_EQ(
        folder.Read("rows.eqe"),
        File(1798, {Entry(3, "piece3b", 3), Entry(5, "", 2, 0, "medium"), std::string(100, '\0')}));
}

// Entries of another kind's name, of an unknown kind or naming nothing are passed over.
TEST_F(ExcludedListFileTest, ReplacingKeepsRepeatsAndAddingSkipsRecordsAlreadyListed) {
    folder.Write("list.eqe",
                 File(1798, {Entry(0, "piece0a", 2), Entry(5, "", 1, 0, "small"),
                             Entry(0, "piece0a", 2), std::string(100, '\0'), Entry(1, "piece0b", 3),
                             Entry(9, "piece0a", 2), Entry(2, "nothing", 0)}));
    ExcludedRows rows{MakeExcludedRow(Piece(kLeg))};
    ASSERT_TRUE(LoadExcludedList(rows, database, false, folder.File("list.eqe"), sink));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].piece, Piece(kHead));
    EXPECT_EQ(rows[1].deco, small);
    EXPECT_EQ(rows[2].piece, Piece(kHead));

    rows = {MakeExcludedRow(Piece(kLeg)), MakeExcludedRow(small)};
    ASSERT_TRUE(LoadExcludedList(rows, database, true, folder.File("list.eqe"), sink));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].piece, Piece(kHead));
    EXPECT_TRUE(sink.messages.empty());

    CSearchCondition condition;
    folder.Write("Exclude.dat", folder.Read("list.eqe"));
    ASSERT_TRUE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    EXPECT_EQ(condition.excluded[kHead], (std::vector<CEquipData*>{Piece(kHead), Piece(kHead)}));
    EXPECT_EQ(condition.excludedDecos, (std::vector<CDecoData*>{small}));
    EXPECT_TRUE(condition.excluded[kBody].empty());
}

// Entries already in the file are kept byte for byte, even bytes after a terminator.
TEST_F(ExcludedListFileTest, AppendingAPieceCreatesTheFileAndNeverRepeatsAName) {
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    const std::string once = File(1798, {Entry(0, "piece0b", 3)});
    EXPECT_EQ(folder.Read("Exclude.dat"), once);
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    EXPECT_FALSE(AppendExcludedPiece(*AddPiece(kLeg, "piece0b", 1), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), once);

    std::string odd = Entry(5, "", 1, 0, "small");
    odd[42] = 'z';
    odd[99] = '\x01';
    const std::string full = Entry(0, std::string(24, 'x'), 2);
    folder.Write("Exclude.dat", File(1798, {odd, full}) + "trailing");
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kBody), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), File(1798, {odd, full, Entry(1, "piece1a", 2)}));
    EXPECT_TRUE(sink.messages.empty());
}

// A table line without a name gives a record named "". The kind of an entry picks the name that
// is looked up, so an entry whose other name is set finds such a record.
TEST_F(ExcludedListFileTest, TheNameTheKindPicksIsLookedUpEvenWhenEmpty) {
    CEquipData* nameless = AddPiece(kArm, "", 1);
    CDecoData* namelessDeco = AddDeco("", 1);
    folder.Write("Exclude.dat", File(1798, {Entry(2, "", 0, 0, "small"), Entry(5, "piece2a", 0),
                                            std::string(100, '\0')}));
    ExcludedRows rows;
    ASSERT_TRUE(LoadExcludedList(rows, database, false, ExcludedListPath(folder.Path()), sink));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].piece, nameless);
    EXPECT_EQ(rows[1].deco, namelessDeco);
    CSearchCondition condition;
    ASSERT_TRUE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    EXPECT_EQ(condition.excluded[kArm], (std::vector<CEquipData*>{nameless}));
    EXPECT_EQ(condition.excludedDecos, (std::vector<CDecoData*>{namelessDeco}));
}

TEST_F(FixedSetFileTest, WritesTheDialogRowsAndAResultSetByteForByte) {
    ASSERT_TRUE(SaveFixedSet(FixedRows{}, folder.File("empty.eq"), sink));
    EXPECT_EQ(folder.Read("empty.eq"),
              File(1042, {Entry(0, "", 0), Entry(1, "", 0), Entry(2, "", 0), Entry(3, "", 0),
                          Entry(4, "", 0), Entry(0, "", 0)}));

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
}

// The dialog resets each named row and fits decorations into free slots, looking at all three
// names, and keeps a row whose name matches nothing as it was; the search takes the counted
// decorations as they are, even without their piece. Empty names are passed over, though a table
// line without a name gives a decoration named "". Expected: per position the dialog's row, then
// the search's piece and decorations.
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
    CEquipSet set;
    ASSERT_TRUE(ReadFixedForSearch(set, database, folder.Path(), sink));
    const struct {
        CEquipData* rowPiece;
        CDecoData* rowDecos[3];
        CEquipData* setPiece;
        CDecoData* setDecos[3];
    } expected[kPositionCount] = {
        {Piece(kHead), {small, small}, Piece(kHead), {small, small}},
        {Piece(kBody), {medium}, nullptr, {medium}},
        {Piece(kArm), {small}, Piece(kArm), {}},
        {Piece(kWaist, 1), {medium}, Piece(kWaist, 1), {medium, medium, large}},
        {nullptr, {}, nullptr, {}},
        {nullptr, {large}, nullptr, {large, small}},
    };
    for (int at = 0; at < kPositionCount; ++at) {
        EXPECT_EQ(rows.rows[at].piece, expected[at].rowPiece) << at;
        EXPECT_EQ(set.pieces[at], expected[at].setPiece) << at;
        for (int place = 0; place < 3; ++place) {
            EXPECT_EQ(rows.rows[at].decos[place], expected[at].rowDecos[place]) << at << place;
            EXPECT_EQ(set.decos[at][place], expected[at].setDecos[place]) << at << place;
        }
    }
    EXPECT_EQ(rows.rows[kHead].freeSlots, 0);
    EXPECT_EQ(rows.weaponSlots, 3);
    EXPECT_EQ(set.weaponSlots, 3);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(OwnedListFileTest, WritesTheSlotsInOrderThenTheDecorations) {
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
}

// A file never puts a record into the lists twice, whether it replaces or adds; the search-time
// reader keeps every entry as it comes. An entry without a name is passed over even when a table
// line without a name gave a record named "".
TEST_F(OwnedListFileTest, LoadingSkipsEmptyUnknownAndRepeatedEntries) {
    AddPiece(kHead, "", 1);
    folder.Write("OwnEquip.dat",
                 File(1795, {Owned(2, "piece2b"), Owned(2, "piece2b"), Owned(5, "small"),
                             Owned(3, "piece2a"), Owned(6, "small"), Owned(0, "nobody"),
                             std::string(28, '\0'), std::string(28, '\0')}));
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

} // namespace
