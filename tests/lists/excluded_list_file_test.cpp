#include <string>

#include "engine/sjis_text.h"
#include "list_test_support.h"
#include "lists/excluded_list_file.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"

namespace {

using namespace list_test;
using ExcludedListFileTest = ListFilesTest;

const char kNotExcluded[] = "除外装備ファイルではありません";
const char kWrongVersion[] = "除外装備ファイルのバージョンが違います";
const char kUnreadable[] = "除外装備ファイルの読込に失敗しました";

TEST_F(ExcludedListFileTest, WritesArmourDecorationAndRecordlessRows) {
    ASSERT_TRUE(SaveExcludedList({}, folder.File("empty.eqe"), sink));
    EXPECT_EQ(folder.Read("empty.eqe"), std::string("\x06\x07\0\0\x01\0\0\0\0\0\0\0", 12));

    ExcludedRows rows{MakeExcludedRow(Piece(kWaist, 1)), MakeExcludedRow(medium),
                      ExcludedRow{sjis::kSlotHead, nullptr, nullptr}};
    EXPECT_EQ(rows[0].kindText, sjis::kSlotWaist);
    EXPECT_EQ(rows[1].kindText, sjis::kSlotDeco);
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
    condition.excluded[kHead].push_back(Piece(kArm));
    folder.Write("Exclude.dat", folder.Read("list.eqe"));
    ASSERT_TRUE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    EXPECT_EQ(condition.excluded[kHead],
              (std::vector<CEquipData*>{Piece(kArm), Piece(kHead), Piece(kHead)}));
    EXPECT_EQ(condition.excludedDecos, (std::vector<CDecoData*>{small}));
    EXPECT_TRUE(condition.excluded[kBody].empty());
}

TEST_F(ExcludedListFileTest, RefusedFilesChangeNothing) {
    folder.Write("fixed.eq", File(1042, {}));
    folder.Write("v0.eqe", File(1798, {}).replace(4, 1, "\x00", 1));
    folder.Write("negative.eqe", File(1798, {}).replace(8, 4, Le(-1)));
    ExcludedRows rows{MakeExcludedRow(Piece(kArm))};
    for (const char* name : {"fixed.eq", "v0.eqe", "negative.eqe", "missing.eqe"}) {
        EXPECT_FALSE(LoadExcludedList(rows, database, true, folder.File(name), sink));
    }
    EXPECT_EQ(sink.messages, Messages({kNotExcluded, kWrongVersion, kNotExcluded}));
    ASSERT_EQ(rows.size(), 1u);

    sink.messages.clear();
    CSearchCondition condition;
    EXPECT_FALSE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    for (const char* name : {"fixed.eq", "v0.eqe"}) {
        folder.Write("Exclude.dat", folder.Read(name));
        EXPECT_FALSE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
        EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead), folder.Path(), sink));
        EXPECT_EQ(folder.Read("Exclude.dat"), folder.Read(name));
    }
    EXPECT_EQ(sink.messages, Messages({kUnreadable, kNotExcluded, kUnreadable, kWrongVersion}));
}

// Entries already in the file are kept byte for byte, even bytes after a terminator.
TEST_F(ExcludedListFileTest, AppendingAPieceCreatesTheFileAndNeverRepeatsAName) {
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    const std::string once = File(1798, {Entry(0, "piece0b", 3)});
    ASSERT_EQ(once.size(), 112u);
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

} // namespace
