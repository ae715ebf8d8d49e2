#include <algorithm>
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

class CliListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new CEquipDatabase;
        ASSERT_EQ(database_->LoadTablesFrom(std::string(KESTROVA_SOURCE_DIR) + "/data/", 0), 1);
        base_ = new json(Search(Request(1), {}));
        ASSERT_GE((*base_)["results"].size(), 2u);
    }
    static void TearDownTestSuite() {
        delete database_;
        delete base_;
    }

    static SearchRequest Request(int weaponSlots) {
        SearchRequest request;
        request.skills = {"攻撃力UP【小】"};
        request.weaponSlots = weaponSlots;
        return request;
    }

    // A search with the arguments of `asked` and the extra ones, its sets checked against
    // `checked` (the weapon slots of a fixed set may differ from those asked for).
    static json Search(const SearchRequest& asked, const std::vector<std::string>& extra,
                       const SearchRequest& checked) {
        std::vector<std::string> args = asked.Args();
        args.insert(args.end(), {"--max-display", "200"});
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        json document = json::parse(run.out, nullptr, false);
        if (document.is_discarded() || !document.contains("results")) {
            ADD_FAILURE() << run.out;
            return json{{"results", json::array()}};
        }
        for (const std::string& fault : CheckSets(document, checked, *database_)) {
            ADD_FAILURE() << fault;
        }
        return document;
    }
    static json Search(const SearchRequest& request, const std::vector<std::string>& extra) {
        return Search(request, extra, request);
    }

    static CEquipData* Piece(int slot, const json& name) {
        return database_->FindArmor(slot, platform::Utf8ToSjis(name.get<std::string>()).c_str());
    }
    static CDecoData* Deco(const char* utf8) {
        return database_->FindDeco(platform::Utf8ToSjis(utf8).c_str());
    }
    static const json& BaseSet(std::size_t index) { return (*base_)["results"][index]; }

    static CEquipDatabase* database_;
    static json* base_;
    TempFolder folder;
    platform::RecordingSink sink;
};

CEquipDatabase* CliListsTest::database_ = nullptr;
json* CliListsTest::base_ = nullptr;

// The weapon slots come from the file, not from --weapon-slots; the checker verifies the free
// slots against the file's two.
TEST_F(CliListsTest, SearchKeepsTheFixedPiecesAndDecorations) {
    const json& last = BaseSet((*base_)["results"].size() - 1);
    FixedRows rows;
    SetFixedPiece(rows.rows[kHead], Piece(kHead, last["pieces"][0]));
    rows.weaponSlots = 2;
    ResetFixedRow(rows.rows[kWeaponPosition], 2);
    ASSERT_TRUE(AttachDecoration(rows.rows[kWeaponPosition], Deco("攻撃珠【１】")));
    const std::string path = folder.Path("head.eq");
    ASSERT_TRUE(SaveFixedSet(rows, path, sink));

    const json found = Search(Request(0), {"--fixed", path}, Request(2));
    ASSERT_FALSE(found["results"].empty());
    for (const json& set : found["results"]) {
        EXPECT_EQ(set["pieces"][0], last["pieces"][0]);
        EXPECT_EQ(set["decorations"][5][0], "攻撃珠【１】");
    }
}

TEST_F(CliListsTest, SearchLeavesOutTheExcludedPieceAndDecoration) {
    const json& first = BaseSet(0);
    CEquipData* head = Piece(kHead, first["pieces"][0]);
    CDecoData* deco = Deco("攻撃珠【１】");
    const std::string path = folder.Path("out.eqe");
    ASSERT_TRUE(SaveExcludedList({MakeExcludedRow(head), MakeExcludedRow(deco)}, path, sink));

    const json found = Search(Request(1), {"--exclude-list", path});
    ASSERT_FALSE(found["results"].empty());
    for (const json& set : found["results"]) {
        EXPECT_NE(set["pieces"][0], first["pieces"][0]);
        for (const json& position : set["decorations"]) {
            EXPECT_EQ(std::count(position.begin(), position.end(), "攻撃珠【１】"), 0);
        }
    }
}

// Owned-only limits decorations too, so the owned list holds those of the two sets as well.
TEST_F(CliListsTest, OwnedOnlyUsesTheOwnedPiecesAlone) {
    OwnedLists owned;
    for (std::size_t index : {std::size_t{0}, std::size_t{1}}) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            owned.Add(Piece(slot, BaseSet(index)["pieces"][slot]));
        }
        for (const json& position : BaseSet(index)["decorations"]) {
            for (const json& name : position) {
                owned.Add(Deco(name.get<std::string>().c_str()));
            }
        }
    }
    const std::string path = folder.Path("mine.eqo");
    ASSERT_TRUE(SaveOwnedList(owned, path, sink));

    const json all = Search(Request(1), {"--owned-list", path});
    EXPECT_EQ(all["results"], (*base_)["results"]);
    const json found = Search(Request(1), {"--owned-list", path, "--owned-only"});
    bool firstFound = false;
    for (const json& set : found["results"]) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_TRUE(owned.Contains(Piece(slot, set["pieces"][slot]))) << set["pieces"];
        }
        firstFound = firstFound || set["pieces"] == BaseSet(0)["pieces"];
    }
    EXPECT_TRUE(firstFound);
}

TEST_F(CliListsTest, UnusableListFilesAreReportedAndTheSearchStillRuns) {
    std::ofstream(folder.Path("bad.eqe"), std::ios::binary) << "not a list";
    std::vector<std::string> args = Request(1).Args();
    args.insert(args.end(),
                {"--max-display", "200", "--exclude-list", folder.Path("bad.eqe"), "--fixed",
                 folder.Path("missing.eq"), "--owned-list", folder.Path("missing.eqo")});
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("除外装備ファイルの読込に失敗しました"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("固定装備の読み込みに失敗しました"), std::string::npos) << run.err;
    EXPECT_EQ(json::parse(run.out, nullptr, false)["results"].size(), (*base_)["results"].size());

    args = Request(1).Args();
    args.push_back("--owned-only");
    EXPECT_EQ(RunCli(args).code, 2);
}

TEST_F(CliListsTest, ListNamesTheFormatAndEveryEntry) {
    FixedRows rows;
    SetFixedPiece(rows.rows[kBody], Piece(kBody, BaseSet(0)["pieces"][1]));
    ASSERT_TRUE(SaveFixedSet(rows, folder.Path("set.eq"), sink));
    CEquipData missing = *Piece(kLeg, BaseSet(0)["pieces"][4]);
    std::string missingName = "nowhere";
    std::copy(missingName.begin(), missingName.end() + 1, missing.name);
    ASSERT_TRUE(SaveExcludedList({MakeExcludedRow(&missing), MakeExcludedRow(Deco("攻撃珠【１】"))},
                                 folder.Path("out.eqe"), sink));
    OwnedLists owned;
    owned.Add(Deco("攻撃珠【１】"));
    ASSERT_TRUE(SaveOwnedList(owned, folder.Path("mine.eqo"), sink));

    const CliRun fixed = RunCli({"list", folder.Path("set.eq")});
    ASSERT_EQ(fixed.code, 0) << fixed.err;
    EXPECT_EQ(fixed.out.rfind("fixed set", 0), 0u);
    EXPECT_NE(fixed.out.find("胴\t" + BaseSet(0)["pieces"][1].get<std::string>() + "\t"),
              std::string::npos)
        << fixed.out;
    const CliRun excluded = RunCli({"list", folder.Path("out.eqe")});
    EXPECT_EQ(excluded.out, "excluded list (format 1798), 2 entries\n脚\tnowhere (not found)\t" +
                                std::to_string(missing.slots) + "\n装\t攻撃珠【１】\t1\n");
    const CliRun own = RunCli({"list", folder.Path("mine.eqo")});
    EXPECT_EQ(own.out, "owned list (format 1795), 1 entries\n装\t攻撃珠【１】\n");

    std::ofstream(folder.Path("short.eqe"), std::ios::binary)
        << std::string("\x06\x07\0\0\x01\0\0\0\x05\0\0\0", 12);
    const CliRun cut = RunCli({"list", folder.Path("short.eqe")});
    EXPECT_EQ(cut.code, 1);
    EXPECT_EQ(cut.err, "除外装備ファイルではありません\n");
    const CliRun foreign = RunCli({"list", folder.Path("set.eq") + "x"});
    EXPECT_EQ(foreign.code, 1);
    std::ofstream(folder.Path("text.txt")) << "hello";
    EXPECT_NE(RunCli({"list", folder.Path("text.txt")}).err.find("not a fixed-set"),
              std::string::npos);
}

TEST_F(CliListsTest, ImportWritesBothFilesAndReportsUnknownNames) {
    const std::string head = BaseSet(0)["pieces"][0].get<std::string>();
    std::ofstream(folder.Path("settings.csv"), std::ios::binary)
        << platform::Utf8ToSjis("MH,1\r\nEE,0," + head + ",1\r\nEE,0,だれも,1\r\nPE,0," + head +
                                ",1\r\nPD,0,0,攻撃珠【１】,1\r\nPD,0,0,ないもの,1\r\n");
    const CliRun run = RunCli({"import", folder.Path("settings.csv"), "--eqe",
                               folder.Path("out.eqe"), "--eqo", folder.Path("out.eqo")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("excluded: 2 names, 1 found"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("not found: だれも"), std::string::npos);
    EXPECT_NE(run.out.find("owned: 3 names, 2 found"), std::string::npos);
    EXPECT_NE(run.out.find("not found: ないもの"), std::string::npos);

    ExcludedRows rows;
    ASSERT_TRUE(LoadExcludedList(rows, *database_, false, folder.Path("out.eqe"), sink));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].piece, Piece(kHead, BaseSet(0)["pieces"][0]));
    EXPECT_EQ(RunCli({"list", folder.Path("out.eqo")}).out,
              "owned list (format 1795), 3 entries\n頭\t" + head + "\n装\t攻撃珠【１】\n(empty)\n");

    const CliRun missing = RunCli({"import", folder.Path("none.csv")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "TEVRKESTROV 設定ファイルの読込に失敗しました\n");
}

} // namespace
