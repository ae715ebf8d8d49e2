#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "engine/equip_database.h"
#include "set_checker.h"

namespace {

using json = nlohmann::ordered_json;

class CliSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new CEquipDatabase;
        ASSERT_EQ(database_->LoadTablesFrom(std::string(KESTROVA_SOURCE_DIR) + "/data/", 0), 1);
    }
    static void TearDownTestSuite() {
        delete database_;
        database_ = nullptr;
    }

    // Runs the command, expects success and a JSON document whose sets all pass the checker.
    static json SearchJson(const std::vector<std::string>& args, const SearchRequest& request) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.code, 0) << run.err;
        json document = json::parse(run.out, nullptr, false);
        EXPECT_FALSE(document.is_discarded()) << run.out;
        if (document.is_discarded()) {
            return json::object();
        }
        for (const std::string& fault : CheckSets(document, request, *database_)) {
            ADD_FAILURE() << fault;
        }
        return document;
    }

    static std::vector<std::string> Keys(const json& object) {
        std::vector<std::string> keys;
        for (auto it = object.begin(); it != object.end(); ++it) {
            keys.push_back(it.key());
        }
        return keys;
    }

    static CEquipDatabase* database_;
};

CEquipDatabase* CliSearchTest::database_ = nullptr;

SearchRequest OneSkill() {
    SearchRequest request;
    request.skills = {"攻撃力UP【小】"};
    return request;
}

TEST_F(CliSearchTest, JsonSetsActivateTheChosenSkills) {
    SearchRequest three;
    three.skills = {"攻撃力UP【小】", "会心＋１"};
    three.avoided = {"睡眠攻撃－１"};
    three.job = 2;
    three.sex = 2;
    three.weaponSlots = 3;
    SearchRequest filtered;
    filtered.skills = {"弱点看破"};
    filtered.minDefense = 40;
    filtered.rarityOff = {0, 1, 2};
    filtered.fast = true;
    filtered.weaponSlots = 1;

    std::vector<std::size_t> found;
    for (const SearchRequest& request : {OneSkill(), three, filtered}) {
        const json document = SearchJson(request.Args(), request);
        found.push_back(document["results"].size());
        ASSERT_EQ(Keys(document), (std::vector<std::string>{"visited", "totalCombos", "hitCount",
                                                            "elapsedMs", "results"}));
        EXPECT_LE(document["visited"].get<std::uint64_t>(),
                  document["totalCombos"].get<std::uint64_t>());
        for (const json& entry : document["results"]) {
            ASSERT_EQ(Keys(entry),
                      (std::vector<std::string>{"number", "pieces", "decorations", "defense",
                                                "resist", "freeSlots", "skills"}));
            EXPECT_EQ(entry["pieces"].size(), 5u);
            EXPECT_EQ(entry["decorations"].size(), 6u);
        }
    }
    EXPECT_GT(found[0], 0u);
}

TEST_F(CliSearchTest, SavedResultsShowAndRefine) {
    TempFolder folder;
    const std::string file = folder.File("attack.eql");
    SearchRequest request = OneSkill();
    request.weaponSlots = 2;
    std::vector<std::string> args = request.Args();
    args.insert(args.end(), {"--max-display", "50", "--save", file});
    const json searched = SearchJson(args, request);
    ASSERT_FALSE(searched["results"].empty());
    EXPECT_EQ(searched["results"].size(), 50u) << "--max-display caps the sets";

    const json shown = SearchJson({"show", file, "--json"}, request);
    EXPECT_EQ(shown["results"], searched["results"]);
    EXPECT_EQ(shown["visited"], searched["visited"]);
    EXPECT_EQ(shown["totalCombos"], searched["totalCombos"]);

    const CliRun table = RunCli({"show", file});
    EXPECT_EQ(table.code, 0) << table.err;
    EXPECT_NE(table.out.find("No.1 "), std::string::npos);
    EXPECT_NE(table.out.find(searched["results"][0]["pieces"][0].get<std::string>()),
              std::string::npos);
    EXPECT_NE(table.out.find("検索結果 " + std::to_string(searched["results"].size()) + "件"),
              std::string::npos);

    // The weapon slots come from the file; the refined sets are a subset, in the same order.
    SearchRequest refine;
    refine.skills = {"会心＋１"};
    refine.weaponSlots = 2;
    const json refined =
        SearchJson({"refine", "--in", file, "--json", "--skill", "会心＋１"}, refine);
    std::vector<json> before;
    for (const json& entry : searched["results"]) {
        before.push_back(entry["pieces"]);
    }
    std::size_t next = 0;
    for (const json& entry : refined["results"]) {
        while (next < before.size() && before[next] != entry["pieces"]) {
            ++next;
        }
        EXPECT_LT(next, before.size()) << "not from the file: " << entry["pieces"].dump();
        ++next;
    }
    EXPECT_EQ(refined["visited"], refined["totalCombos"]);
    EXPECT_EQ(refined["totalCombos"].get<std::size_t>(), searched["results"].size());
}

} // namespace
