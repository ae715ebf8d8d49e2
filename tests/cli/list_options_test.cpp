#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "engine/equip_database.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/owned_list_file.h"
#include "platform/message_sink.h"
#include "platform/sjis.h"
#include "set_checker.h"

// Searches through the CLI that honour list files written by the program's own writers, and the
// list and import commands.
namespace {

using json = nlohmann::ordered_json;
const char kDeco[] = "攻撃珠【１】";

class CliListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new CEquipDatabase;
        ASSERT_EQ(database_->LoadTablesFrom(std::string(KESTROVA_SOURCE_DIR) + "/data/", 0), 1);
        base_ = new json(Search({}));
        ASSERT_GE(Sets(*base_).size(), 2u);
    }
    static void TearDownTestSuite() {
        delete database_;
        delete base_;
    }

    // A search for one skill with one weapon slot and the extra arguments, its sets checked
    // against the tables with `checkedSlots` weapon slots.
    static json Search(const std::vector<std::string>& extra, int checkedSlots = 1) {
        SearchRequest request;
        request.skills = {"攻撃力UP【小】"};
        request.weaponSlots = 1;
        std::vector<std::string> args = request.Args();
        args.insert(args.end(), {"--max-display", "200"});
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const json document = json::parse(run.out, nullptr, false);
        if (document.is_discarded() || !document.contains("results")) {
            ADD_FAILURE() << run.out;
            return json{{"results", json::array()}};
        }
        request.weaponSlots = checkedSlots;
        for (const std::string& fault : CheckSets(document, request, *database_)) {
            ADD_FAILURE() << fault;
        }
        return document;
    }

    static const json& Sets(const json& document) { return document["results"]; }
    static CEquipData* Piece(int slot, std::size_t set) {
        const std::string name = Sets(*base_)[set]["pieces"][slot].get<std::string>();
        return database_->FindArmor(slot, platform::Utf8ToSjis(name).c_str());
    }
    static CDecoData* Deco(const std::string& utf8) {
        return database_->FindDeco(platform::Utf8ToSjis(utf8).c_str());
    }

    static CEquipDatabase* database_;
    static json* base_;
    TempFolder folder;
    platform::RecordingSink sink;
};

CEquipDatabase* CliListsTest::database_ = nullptr;
json* CliListsTest::base_ = nullptr;

// The fixed set's weapon entry overrides --weapon-slots: the checker counts its two slots.
TEST_F(CliListsTest, SearchKeepsTheFixedPiecesAndLeavesOutTheExcludedOnes) {
    const std::size_t last = Sets(*base_).size() - 1;
    FixedRows rows;
    SetFixedPiece(rows.rows[kHead], Piece(kHead, last));
    rows.weaponSlots = 2;
    ResetFixedRow(rows.rows[kWeaponPosition], 2);
    ASSERT_TRUE(AttachDecoration(rows.rows[kWeaponPosition], Deco(kDeco)));
    ASSERT_TRUE(SaveFixedSet(rows, folder.File("head.eq"), sink));
    const json fixed = Search({"--fixed", folder.File("head.eq")}, 2);
    ASSERT_FALSE(Sets(fixed).empty());
    for (const json& set : Sets(fixed)) {
        EXPECT_EQ(set["pieces"][0], Sets(*base_)[last]["pieces"][0]);
        EXPECT_EQ(set["decorations"][5][0], kDeco);
    }

    ASSERT_TRUE(SaveExcludedList({MakeExcludedRow(Piece(kHead, 0)), MakeExcludedRow(Deco(kDeco))},
                                 folder.File("out.eqe"), sink));
    const json excluded = Search({"--exclude-list", folder.File("out.eqe")});
    ASSERT_FALSE(Sets(excluded).empty());
    for (const json& set : Sets(excluded)) {
        EXPECT_NE(set["pieces"][0], Sets(*base_)[0]["pieces"][0]);
        EXPECT_EQ(set["decorations"].dump().find(kDeco), std::string::npos);
    }
}

// Owned-only limits decorations too, so the owned list holds those of the two sets as well.
TEST_F(CliListsTest, OwnedOnlyUsesTheOwnedEquipmentAlone) {
    OwnedLists owned;
    for (std::size_t set : {0u, 1u}) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            owned.Add(Piece(slot, set));
        }
        for (const json& position : Sets(*base_)[set]["decorations"]) {
            for (const json& name : position) {
                owned.Add(Deco(name.get<std::string>()));
            }
        }
    }
    ASSERT_TRUE(SaveOwnedList(owned, folder.File("mine.eqo"), sink));
    EXPECT_EQ(Sets(Search({"--owned-list", folder.File("mine.eqo")})), Sets(*base_));
    const json found = Search({"--owned-list", folder.File("mine.eqo"), "--owned-only"});
    for (const json& set : Sets(found)) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string name = platform::Utf8ToSjis(set["pieces"][slot].get<std::string>());
            EXPECT_TRUE(owned.Contains(database_->FindArmor(slot, name.c_str())));
        }
    }
    EXPECT_NE(
        std::find_if(Sets(found).begin(), Sets(found).end(),
                     [](const json& set) { return set["pieces"] == Sets(*base_)[0]["pieces"]; }),
        Sets(found).end());
}

// A list file named on the command line must be there and of its format: a search that went on
// without it would quietly ignore what the user asked for.
TEST_F(CliListsTest, UnusableListFilesStopTheSearchWithTheirMessage) {
    std::ofstream(folder.File("bad.eqe")) << "not a list";
    ASSERT_TRUE(SaveExcludedList({}, folder.File("empty.eqe"), sink));
    const std::string none = folder.File("none");
    const struct {
        std::vector<std::string> extra;
        int code;
        std::string err;
    } cases[] = {
        {{"--exclude-list", folder.File("bad.eqe")}, 1, "除外装備ファイルの読込に失敗しました\n"},
        {{"--exclude-list", none}, 1, "--exclude-list " + none + ": cannot be read\n"},
        {{"--owned-list", folder.File("empty.eqe")}, 1, "所持装備ファイルの読込に失敗しました\n"},
        {{"--owned-list", folder.File("")},
         1,
         "--owned-list " + folder.File("") + ": cannot be read\n"},
        {{"--fixed", none},
         1,
         "固定装備の読み込みに失敗しました\n--fixed " + none + ": cannot be read\n"},
        {{"--fixed", folder.File("empty.eqe")}, 1, "装備ファイルではありません\n"},
        {{"--owned-only"}, 2, "--owned-list"},
    };
    SearchRequest request;
    request.skills = {"攻撃力UP【小】"};
    for (const auto& refused : cases) {
        std::vector<std::string> args = request.Args();
        args.insert(args.end(), refused.extra.begin(), refused.extra.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.code, refused.code) << refused.extra[0];
        EXPECT_NE(run.err.find(refused.err), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << refused.extra[0];
    }
}

TEST_F(CliListsTest, ListAndImportShowWhatTheFilesHold) {
    CEquipData stranger = *Piece(kLeg, 0);
    std::strcpy(stranger.name, "nowhere");
    ASSERT_TRUE(SaveExcludedList({MakeExcludedRow(&stranger), MakeExcludedRow(Deco(kDeco))},
                                 folder.File("out.eqe"), sink));
    EXPECT_EQ(RunCli({"list", folder.File("out.eqe")}).out,
              "excluded list (format 1798), 2 entries\n脚\tnowhere (not found)\t" +
                  std::to_string(stranger.slots) + "\n装\t" + kDeco + "\t1\n");
    std::ofstream(folder.File("short.eqe")) << std::string("\x06\x07\0\0\x01\0\0\0\x05\0\0\0", 12);
    const CliRun cut = RunCli({"list", folder.File("short.eqe")});
    EXPECT_EQ(cut.code, 1);
    EXPECT_EQ(cut.err, "除外装備ファイルではありません\n");

    const std::string head = Sets(*base_)[0]["pieces"][0].get<std::string>();
    std::ofstream(folder.File("settings.csv"), std::ios::binary)
        << platform::Utf8ToSjis("MH,1\r\nEE,0,だれも,1\r\nPE,0," + head + ",1\r\nPD,0,0," + kDeco +
                                ",1\r\nPD,0,0,ないもの,1\r\n");
    const CliRun run = RunCli({"import", folder.File("settings.csv"), "--eqo",
                               folder.File("out.eqo"), "--eqe", folder.File("unused.eqe")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "excluded: 1 names, 0 found, written to " + folder.File("unused.eqe") +
                           "\nnot found: だれも\nowned: 3 names, 2 found, written to " +
                           folder.File("out.eqo") + "\nnot found: ないもの\n");
    EXPECT_EQ(RunCli({"list", folder.File("out.eqo")}).out,
              "owned list (format 1795), 3 entries\n頭\t" + head + "\n装\t" + kDeco +
                  "\n(empty)\n");
    for (const std::string& unreadable : {folder.File("none.csv"), folder.File("")}) {
        const CliRun missing = RunCli({"import", unreadable});
        EXPECT_EQ(missing.code, 1) << unreadable;
        EXPECT_EQ(missing.err, "TEVRKESTROV 設定ファイルの読込に失敗しました\n");
        EXPECT_EQ(missing.out, "");
    }
}

} // namespace
