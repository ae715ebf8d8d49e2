#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "list_test_support.h"
#include "lists/fixed_set_file.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"
#include "platform/safe_save.h"

namespace {

using namespace list_test;

const char kNotFixedSet[] = "装備ファイルではありません";
const char kWrongVersion[] = "装備ファイルのバージョンが違います";

class FixedSetFileTest : public ::testing::Test {
protected:
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    // A fixed-set file whose entries are given; missing entries are the empty ones of a save.
    std::string FileOf(const std::string (&entries)[6]) const {
        std::string file = Header(1042, 1);
        for (const std::string& entry : entries) {
            file += entry;
        }
        return file;
    }

    std::string EmptyEntries(int weaponSlots) const {
        std::string file;
        for (int slot = 0; slot < 5; ++slot) {
            file += Entry(slot, "", 0, 0);
        }
        return file + Entry(0, "", weaponSlots, 0);
    }

    void ExpectRowsUntouched(const FixedRows& rows) const {
        EXPECT_EQ(rows.rows[kHead].piece, tables.pieces[kHead][0]);
        EXPECT_EQ(rows.rows[kHead].decos[0], tables.small);
        EXPECT_EQ(rows.rows[kHead].freeSlots, 1);
        EXPECT_EQ(rows.weaponSlots, 2);
    }

    FixedRows FilledRows() const {
        FixedRows rows;
        SetFixedPiece(rows.rows[kHead], tables.pieces[kHead][0]);
        AttachDecoration(rows.rows[kHead], tables.small);
        rows.weaponSlots = 2;
        return rows;
    }

    Tables tables;
    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(FixedSetFileTest, AnEmptyFixedSetIs608BytesOfHeaderAndSlotKinds) {
    ASSERT_TRUE(SaveFixedSet(FixedRows{}, folder.File("empty.eq"), sink));
    const std::string bytes = folder.Read("empty.eq");
    ASSERT_EQ(bytes.size(), 608u);
    EXPECT_EQ(bytes, Header(1042, 1) + EmptyEntries(0));
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x12\x04\0\0\x01\0\0\0", 8));
}

TEST_F(FixedSetFileTest, WritesPiecesDecorationsAndTheWeaponAndResultSetsTheSameWay) {
    FixedRows rows;
    SetFixedPiece(rows.rows[kBody], tables.pieces[kBody][1]);
    AttachDecoration(rows.rows[kBody], tables.small);
    AttachDecoration(rows.rows[kBody], tables.medium);
    rows.weaponSlots = 3;
    ResetFixedRow(rows.rows[kWeaponPosition], 3);
    AttachDecoration(rows.rows[kWeaponPosition], tables.large);
    ASSERT_TRUE(SaveFixedSet(rows, folder.File("rows.eq"), sink));

    std::string expected = Header(1042, 1) + Entry(0, "", 0, 0) +
                           Entry(1, "piece1b", 3, 2, "small", "medium") + Entry(2, "", 0, 0) +
                           Entry(3, "", 0, 0) + Entry(4, "", 0, 0) + Entry(0, "", 3, 1, "large");
    EXPECT_EQ(folder.Read("rows.eq"), expected);

    CEquipSet set;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        set.pieces[slot] = tables.pieces[slot][0];
    }
    set.pieces[kBody] = tables.pieces[kBody][1];
    set.AddDeco(kBody, tables.small);
    set.AddDeco(kBody, tables.medium);
    set.AddDeco(kWeaponPosition, tables.large);
    set.weaponSlots = 3;
    ASSERT_TRUE(SaveResultAsFixedSet(set, folder.File("result.eq"), sink));
    expected = Header(1042, 1) + Entry(0, "piece0a", 2, 0) +
               Entry(1, "piece1b", 3, 2, "small", "medium") + Entry(2, "piece2a", 2, 0) +
               Entry(3, "piece3a", 2, 0) + Entry(4, "piece4a", 2, 0) + Entry(0, "", 3, 1, "large");
    EXPECT_EQ(folder.Read("result.eq"), expected);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FixedSetFileTest, RoundTripsThroughTheDialogRows) {
    FixedRows saved;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SetFixedPiece(saved.rows[slot], tables.pieces[slot][slot % 2]);
    }
    AttachDecoration(saved.rows[kArm], tables.medium);
    saved.weaponSlots = 1;
    ResetFixedRow(saved.rows[kWeaponPosition], 1);
    AttachDecoration(saved.rows[kWeaponPosition], tables.small);
    ASSERT_TRUE(SaveFixedSet(saved, folder.File("set.eq"), sink));

    FixedRows loaded;
    ASSERT_TRUE(LoadFixedSet(loaded, tables.database, folder.File("set.eq"), sink));
    for (int row = 0; row < kPositionCount; ++row) {
        EXPECT_EQ(loaded.rows[row].piece, saved.rows[row].piece) << row;
        EXPECT_EQ(loaded.rows[row].freeSlots, saved.rows[row].freeSlots) << row;
        for (int place = 0; place < 3; ++place) {
            EXPECT_EQ(loaded.rows[row].decos[place], saved.rows[row].decos[place]) << row;
        }
    }
    EXPECT_EQ(loaded.weaponSlots, 1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FixedSetFileTest, RefusedFilesLeaveTheRowsAsTheyWere) {
    folder.Write("excluded.eqe", Header(1798, 1) + Le(0));
    folder.Write("v2.eq", Header(1042, 2) + EmptyEntries(0));
    folder.Write("short.eq", (Header(1042, 1) + EmptyEntries(0)).substr(0, 607));
    FixedRows rows = FilledRows();

    EXPECT_FALSE(LoadFixedSet(rows, tables.database, folder.File("excluded.eqe"), sink));
    EXPECT_FALSE(LoadFixedSet(rows, tables.database, folder.File("v2.eq"), sink));
    EXPECT_FALSE(LoadFixedSet(rows, tables.database, folder.File("short.eq"), sink));
    EXPECT_FALSE(LoadFixedSet(rows, tables.database, folder.File("missing.eq"), sink));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{kNotFixedSet, kWrongVersion, kNotFixedSet}));
    ExpectRowsUntouched(rows);
}

// The dialog resets each named row and fits decorations into free slots; the search takes the
// counted decorations as they are, even without their piece.
TEST_F(FixedSetFileTest, DialogAndSearchReadTheSameFileDifferently) {
    const std::string entries[6] = {
        Entry(0, "piece0a", 2, 3, "small", "small", "small"),
        Entry(1, "gone", 3, 1, "medium"),
        Entry(2, "piece2a", 2, 0, "small"),
        Entry(3, "piece3b", 3, 9, "small", "medium"),
        Entry(4, "", 0, 1, "small"),
        Entry(0, "", 7, 2, "large", "small"),
    };
    folder.Write("Fixed.dat", FileOf(entries));

    FixedRows rows;
    ASSERT_TRUE(LoadFixedSet(rows, tables.database, FixedSetPath(folder.Path()), sink));
    EXPECT_EQ(rows.rows[kHead].decos[1], tables.small);
    EXPECT_EQ(rows.rows[kHead].decos[2], nullptr);
    EXPECT_EQ(rows.rows[kHead].freeSlots, 0);
    EXPECT_EQ(rows.rows[kBody].piece, nullptr);
    EXPECT_EQ(rows.rows[kBody].decos[0], nullptr);
    EXPECT_EQ(rows.rows[kArm].decos[0], tables.small); // names count, not the count field
    EXPECT_EQ(rows.rows[kLeg].decos[0], nullptr);
    EXPECT_EQ(rows.weaponSlots, 3);
    EXPECT_EQ(rows.rows[kWeaponPosition].decos[0], tables.large);
    EXPECT_EQ(rows.rows[kWeaponPosition].decos[1], nullptr);

    CEquipSet set;
    ASSERT_TRUE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
    EXPECT_EQ(set.pieces[kHead], tables.pieces[kHead][0]);
    EXPECT_EQ(set.decos[kHead][2], tables.small);
    EXPECT_EQ(set.pieces[kBody], nullptr);
    EXPECT_EQ(set.decos[kBody][0], tables.medium);
    EXPECT_EQ(set.decos[kArm][0], nullptr);
    EXPECT_EQ(set.decos[kWaist][1], tables.medium); // a count of 9 stops at the fields there are
    EXPECT_EQ(set.decos[kLeg][0], nullptr);
    EXPECT_EQ(set.weaponSlots, 3);
    EXPECT_EQ(set.decos[kWeaponPosition][1], tables.small);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FixedSetFileTest, ANegativeWeaponSlotCountIsRaisedToZero) {
    folder.Write("Fixed.dat", Header(1042, 1) + EmptyEntries(-4));
    FixedRows rows = FilledRows();
    ASSERT_TRUE(LoadFixedSet(rows, tables.database, FixedSetPath(folder.Path()), sink));
    EXPECT_EQ(rows.weaponSlots, 0);
    EXPECT_EQ(rows.rows[kHead].piece, nullptr);
    CEquipSet set;
    ASSERT_TRUE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
    EXPECT_EQ(set.weaponSlots, 0);
}

TEST_F(FixedSetFileTest, SearchStartReportsAMissingOrRefusedFixedDat) {
    CEquipSet set;
    EXPECT_FALSE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
    folder.Write("Fixed.dat", Header(1042, 3) + EmptyEntries(2));
    EXPECT_FALSE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
    folder.Write("Fixed.dat", Header(1798, 1) + EmptyEntries(2));
    EXPECT_FALSE(ReadFixedForSearch(set, tables.database, folder.Path(), sink));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"固定装備の読み込みに失敗しました",
                                                       kWrongVersion, kNotFixedSet}));
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_EQ(set.weaponSlots, 0);
}

TEST_F(FixedSetFileTest, AFailedSaveKeepsThePreviousFile) {
    const std::string path = FixedSetPath(folder.Path());
    ASSERT_TRUE(SaveFixedSet(FixedRows{}, path, sink));
    const std::string before = folder.Read("Fixed.dat");
    platform::InjectSaveFaultAfter(100);
    EXPECT_FALSE(SaveFixedSet(FilledRows(), path, sink));
    EXPECT_FALSE(SaveResultAsFixedSet(CEquipSet{}, path, sink));
    EXPECT_EQ(folder.Read("Fixed.dat"), before);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"固定装備の保存に失敗しました",
                                                       "固定装備の保存に失敗しました"}));
}

} // namespace
