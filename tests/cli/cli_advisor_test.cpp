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

json Parsed(const CliRun& run) {
    EXPECT_EQ(run.code, 0) << run.err;
    return json::parse(run.out, nullptr, false);
}

std::set<std::string> PieceLists(const json& document) {
    std::set<std::string> lists;
    for (const json& entry : document["results"]) {
        lists.insert(entry["pieces"].dump());
    }
    return lists;
}

// The exact search lists every set the normal one lists, and more, each one valid; the
// additional-skill search names levels a further search then finds sets for; an empty search
// says which skill keeps the sets out.
TEST(CliAdvisorTest, ExactSearchExtraSkillsAndAdvice) {
    CEquipDatabase database;
    ASSERT_EQ(database.LoadTablesFrom(std::string(KESTROVA_SOURCE_DIR) + "/data/", 0), 1);
    SearchRequest request;
    request.skills = {"先読み", "重撃【小】", "剛腕", "解体上手", "龍攻撃UP【小】"};
    std::vector<std::string> args = request.Args();
    args.insert(args.end(), {"--max-display", "100000"});
    const json normal = Parsed(RunCli(args));
    args.push_back("--exact");
    const json exact = Parsed(RunCli(args));
    for (const std::string& fault : CheckSets(exact, request, database)) {
        ADD_FAILURE() << fault;
    }
    const std::set<std::string> exactSets = PieceLists(exact);
    for (const std::string& pieces : PieceLists(normal)) {
        EXPECT_EQ(exactSets.count(pieces), 1u) << pieces;
    }
    EXPECT_GT(exactSets.size(), PieceLists(normal).size());

    SearchRequest three;
    three.skills = {"先読み", "重撃【小】", "剛腕"};
    three.weaponSlots = 1;
    std::vector<std::string> extraArgs = {"extra-skills", "--json", "--weapon-slots", "1"};
    for (const std::string& skill : three.skills) {
        extraArgs.insert(extraArgs.end(), {"--skill", skill});
    }
    const json extra = Parsed(RunCli(extraArgs));
    ASSERT_FALSE(extra["skills"].empty());
    const json& first = extra["skills"][0];
    EXPECT_TRUE(first.contains("system") && first.contains("threshold"));
    SearchRequest further = three;
    further.skills.push_back(first["name"].get<std::string>());
    std::vector<std::string> furtherArgs = further.Args();
    furtherArgs.insert(furtherArgs.end(), {"--exact", "--max-display", "1"});
    EXPECT_EQ(Parsed(RunCli(furtherArgs))["results"].size(), 1u);

    SearchRequest blocked;
    blocked.skills = {"先読み", "重撃【小】", "剛腕", "解体上手", "龍攻撃UP【小】"};
    blocked.minDefense = 100000;
    std::vector<std::string> blockedArgs = blocked.Args();
    blockedArgs.insert(blockedArgs.end(), {"--max-display", "5"});
    const json empty = Parsed(RunCli(blockedArgs));
    EXPECT_TRUE(empty["results"].empty());
    ASSERT_EQ(empty["advice"].size(), 5u);
    EXPECT_EQ(empty["advice"][0]["sets"], 0);
    EXPECT_FALSE(empty["advice"][0]["atLeast"].get<bool>());
}

// `show --extras` names, for one set of a saved file, levels its free slots could still add.
TEST(CliAdvisorTest, ShowExtrasOfASavedSet) {
    TempFolder folder;
    const std::string file = folder.File("sets.eql");
    ASSERT_EQ(RunCli({"search", "--skill", "攻撃力UP【小】", "--weapon-slots", "3", "--max-display",
                      "3", "--save", file})
                  .code,
              0);
    const CliRun run =
        RunCli({"show", file, "--set", "1", "--extras", "--skill", "攻撃力UP【小】"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.rfind("No.1  追加可能:", 0), 0u) << run.out;
    EXPECT_GT(run.out.size(), std::string("No.1  追加可能:\n").size());
    EXPECT_NE(RunCli({"show", file, "--set", "9", "--extras"}).code, 0);
}

} // namespace
