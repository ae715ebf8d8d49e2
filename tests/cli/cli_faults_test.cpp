#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_runner.h"
#include "engine/equip_database.h"
#include "platform/sjis.h"
#include "set_checker.h"

// Hostile input and a hostile environment: tables with numbers no game holds, special files
// where files are expected, output that cannot be written, Ctrl-C during a search that saves.
namespace {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

const std::string kBundled = std::string(KESTROVA_SOURCE_DIR) + "/data/";

void Append(const std::string& path, const std::string& utf8Lines) {
    std::ofstream(path, std::ios::binary | std::ios::app) << platform::Utf8ToSjis(utf8Lines);
}

// The bundled tables with decorations and a piece whose numbers would overflow every sum.
TEST(CliFaults, OutOfRangeTableValuesGiveSoundSets) {
    TempFolder folder;
    const std::string data = folder.File("data/");
    fs::copy(kBundled, data);
    Append(data + "TEVREQUIP_DECO.csv", "ZZ珠,1,1,攻撃,2147483647,,0,下\r\n"
                                        "YY珠,1,2,攻撃,1073741824,,0,下\r\n"
                                        "WW珠,1,3,攻撃,2147483647,,0,下\r\n"
                                        "VV珠,1,2,攻撃,1,会心,-2147483647,下\r\n"
                                        "XX珠,1,1,攻撃,5,会心,-2147483648,下\r\n");
    Append(data + "TEVREQUIP_HEAD.csv",
           "ZZヘルム,0,0,1,2147483647,2147483647,-2147483648,2147483647,0,0,0,0,会心,"
           "2147483647,攻撃,-2147483648\r\n");
    CEquipDatabase database;
    ASSERT_EQ(database.LoadTablesFrom(data, 0), 1);

    SearchRequest wanted;
    wanted.skills = {"攻撃力UP【小】", "会心＋１"};
    wanted.weaponSlots = 3;
    SearchRequest avoiding = wanted;
    avoiding.skills = {"攻撃力UP【中】"};
    avoiding.avoided = {"会心－１"};
    for (const SearchRequest& request : {wanted, avoiding}) {
        std::vector<std::string> args = {"--data", data};
        const std::vector<std::string> search = request.Args();
        args.insert(args.end(), search.begin(), search.end());
        args.insert(args.end(), {"--max-display", "300"});
        const CliRun run = RunCli(args);
        ASSERT_EQ(run.code, 0) << run.err;
        const json document = json::parse(run.out, nullptr, false);
        ASSERT_FALSE(document.is_discarded());
        ASSERT_FALSE(document["results"].empty());
        for (const std::string& fault : CheckSets(document, request, database)) {
            ADD_FAILURE() << fault;
        }
        for (const json& set : document["results"]) {
            EXPECT_GE(set["freeSlots"].get<int>(), 0);
        }
    }
}

// A FIFO would block the program on opening it and /dev/zero would never end.
TEST(CliFaults, SpecialFilesAreRefusedLikeUnreadableOnes) {
    TempFolder folder;
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string data = folder.File("data/");
    fs::copy(kBundled, data);
    fs::remove(data + "TEVREQUIP_ARM.csv");
    ASSERT_EQ(::mkfifo((data + "TEVREQUIP_ARM.csv").c_str(), 0600), 0);
    const std::string loadFailed = "検索結果の読込に失敗しました\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"show", "/dev/zero"}, loadFailed},
        {{"show", fifo}, loadFailed},
        {{"refine", "--in", fifo}, loadFailed},
        {{"--data", data, "tables"}, "装備ファイルが読み込めませんでした\n"},
    };
    for (const auto& refused : cases) {
        const CliRun run = RunCli(refused.args);
        EXPECT_EQ(run.code, 1) << refused.args[1];
        EXPECT_EQ(run.err, refused.err);
    }
}

TEST(CliFaults, OutputThatCannotBeWrittenFails) {
    TempFolder folder;
    const std::string saved = folder.File("saved.eql");
    ASSERT_EQ(RunCli({"search", "--skill", "攻撃力UP【小】", "--save", saved}).code, 0);
    const std::vector<std::vector<std::string>> commands = {
        {"search", "--skill", "攻撃力UP【小】", "--json"},
        {"show", saved},
        {"skills"},
        {"tables"},
        {"--help"},
    };
    for (const std::vector<std::string>& args : commands) {
        const CliRun run = RunCliTo(args, "/dev/full");
        EXPECT_EQ(run.code, 1) << args[0];
        EXPECT_NE(run.err.find("standard output could not be written"), std::string::npos)
            << run.err;
    }

    // A reader that leaves early, with SIGPIPE ignored as some shells and services do: the
    // program sees the failed writes and must not claim success.
    const std::string script = folder.File("closed-pipe.sh");
    std::ofstream(script) << "trap '' PIPE\n"
                          << CliCommand({"search", "--skill", "攻撃力UP【小】"})
                          << " 2>/dev/null | head -c 1 >/dev/null\nexit ${PIPESTATUS[0]}\n";
    const int status = std::system(("bash " + script).c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

// Three minus levels that only the first piece of every slot reaches together: the one set is
// found at once, then the search runs on through some 10^13 combinations until Ctrl-C.
void WriteEndlessSearchTables(const std::string& data) {
    fs::create_directories(data);
    std::ofstream(data + "SKILL_EQ.csv") << "a,A,-5,0,x,A\nb,B,-5,0,x,A\nc,C,-5,0,x,A\n";
    std::ofstream(data + "TEVREQUIP_DECO.csv") << "";
    for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
        std::ofstream table(data + "TEVREQUIP_" + file + ".csv");
        table << "hit,0,0,1,0,1,1,0,0,0,0,0,A,-1,B,-1,C,-1\n";
        for (int i = 0; i < 512; ++i) {
            table << "p" << i << ",0,0,1,0,1,1,0,0,0,0,0,A," << i % 16 << ",B," << i / 16 - 16
                  << ",C,0\n";
        }
    }
}

TEST(CliFaults, AnInterruptedSearchListsItsSetsButSavesNothing) {
    TempFolder folder;
    const std::string data = folder.File("data/");
    WriteEndlessSearchTables(data);
    const std::string saved = folder.File("previous.eql");
    std::ofstream(saved) << "the previous results";
    const CliRun run = RunCliInterrupted(
        {"--data", data, "search", "--skill", "a", "--skill", "b", "--skill", "c", "--save", saved},
        300);
    EXPECT_EQ(run.code, 130) << run.err;
    EXPECT_NE(run.out.find("検索結果 1件"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("中断されました"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(saved + " was not written"), std::string::npos) << run.err;
    EXPECT_EQ(folder.Read("previous.eql"), "the previous results");
}

} // namespace
