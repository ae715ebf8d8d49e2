#include <filesystem>
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

    // An Exclude.dat that exists but cannot be read is not replaced by a one-entry file.
    TempFolder blocked;
    std::filesystem::create_directory(blocked.File("Exclude.dat"));
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead), blocked.Path(), sink));
    EXPECT_TRUE(std::filesystem::is_directory(blocked.File("Exclude.dat")));
    EXPECT_EQ(sink.messages.back(), kUnreadable);
}

TEST_F(ExcludedListFileTest, AppendingAPieceCreatesTheFileAndNeverRepeatsAName) {
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    const std::string once = File(1798, {Entry(0, "piece0b", 3)});
    ASSERT_EQ(once.size(), 112u);
    EXPECT_EQ(folder.Read("Exclude.dat"), once);

    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    EXPECT_FALSE(AppendExcludedPiece(*AddPiece(kLeg, "piece0b", 1), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), once);
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kBody), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"),
              File(1798, {Entry(0, "piece0b", 3), Entry(1, "piece1a", 2)}));
    EXPECT_TRUE(sink.messages.empty());

    platform::InjectSaveFaultAfter(5);
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kArm), folder.Path(), sink));
    EXPECT_FALSE(SaveExcludedList({}, ExcludedListPath(folder.Path()), sink));
    EXPECT_EQ(folder.Read("Exclude.dat").size(), 212u);
    EXPECT_EQ(sink.messages,
              Messages({"除外装備の保存に失敗しました", "除外装備の保存に失敗しました"}));
}

} // namespace
