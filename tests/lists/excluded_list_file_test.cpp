#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/sjis_text.h"
#include "list_test_support.h"
#include "lists/excluded_list_file.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"
#include "platform/safe_save.h"

namespace {

using namespace list_test;

const char kNotExcluded[] = "除外装備ファイルではありません";
const char kWrongVersion[] = "除外装備ファイルのバージョンが違います";
const char kSaveFailed[] = "除外装備の保存に失敗しました";

class ExcludedListFileTest : public ::testing::Test {
protected:
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    std::string ListFile(const std::vector<std::string>& entries) const {
        std::string file = Header(1798, 1) + Le(static_cast<std::int32_t>(entries.size()));
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

TEST_F(ExcludedListFileTest, WritesArmourDecorationAndRecordlessRows) {
    ASSERT_TRUE(SaveExcludedList({}, folder.File("empty.eqe"), sink));
    EXPECT_EQ(folder.Read("empty.eqe"), std::string("\x06\x07\0\0\x01\0\0\0\0\0\0\0", 12));

    ExcludedRows rows{MakeExcludedRow(Piece(kWaist, 1)), MakeExcludedRow(tables.medium),
                      ExcludedRow{sjis::kSlotHead, nullptr, nullptr}};
    EXPECT_EQ(rows[0].kindText, sjis::kSlotWaist);
    EXPECT_EQ(rows[1].kindText, sjis::kSlotDeco);
    ASSERT_TRUE(SaveExcludedList(rows, folder.File("rows.eqe"), sink));
    EXPECT_EQ(folder.Read("rows.eqe"),
              ListFile({Entry(3, "piece3b", 3, 0), Entry(5, "", 2, 0, "medium"),
                        std::string(100, '\0')}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ExcludedListFileTest, ReplacingKeepsRepeatsAndAddingSkipsRecordsAlreadyListed) {
    folder.Write("list.eqe", ListFile({Entry(0, "piece0a", 2, 0), Entry(5, "", 1, 0, "small"),
                                       Entry(0, "piece0a", 2, 0), std::string(100, '\0'),
                                       Entry(1, "piece0b", 3, 0), Entry(9, "piece0a", 2, 0),
                                       Entry(2, "nothing", 0, 0)}));
    ExcludedRows rows{MakeExcludedRow(Piece(kLeg))};
    ASSERT_TRUE(LoadExcludedList(rows, tables.database, false, folder.File("list.eqe"), sink));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].piece, Piece(kHead));
    EXPECT_EQ(rows[1].deco, tables.small);
    EXPECT_EQ(rows[1].kindText, sjis::kSlotDeco);
    EXPECT_EQ(rows[2].piece, Piece(kHead));

    rows = {MakeExcludedRow(Piece(kLeg)), MakeExcludedRow(tables.small)};
    ASSERT_TRUE(LoadExcludedList(rows, tables.database, true, folder.File("list.eqe"), sink));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].piece, Piece(kLeg));
    EXPECT_EQ(rows[1].deco, tables.small);
    EXPECT_EQ(rows[2].piece, Piece(kHead));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ExcludedListFileTest, RefusedFilesLeaveTheRowsAsTheyWere) {
    folder.Write("fixed.eq", Header(1042, 1) + std::string(600, '\0'));
    folder.Write("v0.eqe", Header(1798, 0) + Le(0));
    folder.Write("negative.eqe", Header(1798, 1) + Le(-1));
    folder.Write("short.eqe", ListFile({Entry(0, "piece0a", 2, 0)}).substr(0, 111));
    ExcludedRows rows{MakeExcludedRow(Piece(kArm))};
    for (const char* name : {"fixed.eq", "v0.eqe", "negative.eqe", "short.eqe", "missing.eqe"}) {
        for (bool add : {false, true}) {
            EXPECT_FALSE(LoadExcludedList(rows, tables.database, add, folder.File(name), sink));
        }
    }
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].piece, Piece(kArm));
    EXPECT_EQ(sink.messages,
              (std::vector<std::string>{kNotExcluded, kNotExcluded, kWrongVersion, kWrongVersion,
                                        kNotExcluded, kNotExcluded, kNotExcluded, kNotExcluded}));
}

TEST_F(ExcludedListFileTest, SearchStartAppendsEveryEntryToItsOwnSlot) {
    CSearchCondition condition;
    EXPECT_FALSE(ReadExcludedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_TRUE(sink.messages.empty());

    folder.Write("Exclude.dat", ListFile({Entry(4, "piece4b", 3, 0), Entry(4, "piece4b", 3, 0),
                                          Entry(5, "", 3, 0, "large"), Entry(1, "piece0a", 2, 0),
                                          std::string(100, '\0')}));
    condition.excluded[kHead].push_back(Piece(kHead));
    ASSERT_TRUE(ReadExcludedForSearch(condition, tables.database, folder.Path(), sink));
    EXPECT_EQ(condition.excluded[kLeg], (std::vector<CEquipData*>{Piece(kLeg, 1), Piece(kLeg, 1)}));
    EXPECT_EQ(condition.excludedDecos, (std::vector<CDecoData*>{tables.large}));
    EXPECT_EQ(condition.excluded[kHead], (std::vector<CEquipData*>{Piece(kHead)}));
    EXPECT_TRUE(condition.excluded[kBody].empty());

    for (const std::string& bad : {Header(1042, 1) + Le(0), Header(1798, 2) + Le(0),
                                   ListFile({Entry(0, "piece0a", 2, 0)}).substr(0, 50)}) {
        folder.Write("Exclude.dat", bad);
        EXPECT_FALSE(ReadExcludedForSearch(condition, tables.database, folder.Path(), sink));
    }
    EXPECT_EQ(sink.messages, std::vector<std::string>(3, "除外装備ファイルの読込に失敗しました"));
    EXPECT_EQ(condition.excluded[kLeg].size(), 2u);
}

TEST_F(ExcludedListFileTest, AppendingAPieceCreatesTheFileAndNeverRepeatsAName) {
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    const std::string once = ListFile({Entry(0, "piece0b", 3, 0)});
    ASSERT_EQ(once.size(), 112u);
    EXPECT_EQ(folder.Read("Exclude.dat"), once);

    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead, 1), folder.Path(), sink));
    CEquipData* twin = tables.AddPiece(kLeg, "piece0b", 1);
    EXPECT_FALSE(AppendExcludedPiece(*twin, folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), once);

    ASSERT_TRUE(AppendExcludedPiece(*Piece(kBody), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"),
              ListFile({Entry(0, "piece0b", 3, 0), Entry(1, "piece1a", 2, 0)}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ExcludedListFileTest, AppendingLeavesAForeignOrUnreadableFileAlone) {
    const std::string foreign = Header(1795, 1) + Le(0);
    folder.Write("Exclude.dat", foreign);
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead), folder.Path(), sink));
    folder.Write("Exclude.dat", Header(1798, 5) + Le(0));
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead), folder.Path(), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), Header(1798, 5) + Le(0));

    TempFolder blocked;
    std::filesystem::create_directory(blocked.File("Exclude.dat"));
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kHead), blocked.Path(), sink));
    EXPECT_TRUE(std::filesystem::is_directory(blocked.File("Exclude.dat")));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{kNotExcluded, kWrongVersion,
                                                       "除外装備ファイルの読込に失敗しました"}));
}

TEST_F(ExcludedListFileTest, AFailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(AppendExcludedPiece(*Piece(kHead), folder.Path(), sink));
    const std::string before = folder.Read("Exclude.dat");
    platform::InjectSaveFaultAfter(5);
    EXPECT_FALSE(AppendExcludedPiece(*Piece(kArm), folder.Path(), sink));
    EXPECT_FALSE(SaveExcludedList({}, ExcludedListPath(folder.Path()), sink));
    EXPECT_EQ(folder.Read("Exclude.dat"), before);
    EXPECT_EQ(sink.messages, std::vector<std::string>(2, kSaveFailed));
}

} // namespace
