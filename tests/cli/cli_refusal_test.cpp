#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

// Wrong options and files that cannot be used end the program with a message naming the cause,
// an exit code and nothing on standard output.
namespace {

struct Refusal {
    std::vector<std::string> args;
    int code;
    std::string message; // must appear on stderr
};

void ExpectRefusals(const std::vector<Refusal>& refusals) {
    for (const Refusal& refusal : refusals) {
        const std::string shown = ::testing::PrintToString(refusal.args);
        const CliRun run = RunCli(refusal.args);
        EXPECT_EQ(run.code, refusal.code) << shown << run.err;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << shown << run.err;
        EXPECT_EQ(run.out, "") << shown;
    }
}

const std::string kSkill = "攻撃力UP【小】";

TEST(CliRefusals, MissingOrBadSkillsAndOptionsAreNamed) {
    ExpectRefusals({
        {{"search", "--json"}, 2, "スキルが選択されていません"},
        {{"search", "--avoid", kSkill}, 2, "除外スキルだけでは検索できません"},
        {{"search", "--skill", "存在しない技"}, 2, "存在しない技"},
        {{"search", "--skill", kSkill, "--avoid", "存在しない技"}, 2, "存在しない技"},
        // A blade-only skill is not offered to a gunner.
        {{"search", "--skill", "斬撃力UP【小】", "--job", "gunner"}, 2, "斬撃力UP【小】"},
        {{"search", "--skill", kSkill, "--skill", "攻撃力UP【中】"}, 2, "攻撃力UP【中】"},
        {{"search", "--skill", kSkill, "--skill", "会心＋１", "--skill", "弱点看破", "--skill",
          "火攻撃UP【小】", "--skill", "水攻撃UP【小】", "--avoid", "雷攻撃UP【小】", "--fitting",
          "rules"},
         2,
         "five"},
        {{"search",         "--skill", kSkill,           "--skill", "会心＋１",       "--skill",
          "弱点看破",       "--skill", "火攻撃UP【小】", "--skill", "水攻撃UP【小】", "--avoid",
          "雷攻撃UP【小】", "--skill", "氷攻撃UP【小】", "--skill", "龍攻撃UP【小】", "--skill",
          "先読み",         "--skill", "剛腕",           "--skill", "解体上手"},
         2,
         "ten"},
        {{"search", "--skill", kSkill, "--weapon-slots", "4"}, 2, "--weapon-slots"},
        {{"search", "--skill", kSkill, "--sex", "other"}, 2, "--sex"},
        {{"search", "--skill", kSkill, "--job", "archer"}, 2, "--job"},
        {{"search", "--skill", kSkill, "--rarity-off", "11"}, 2, "--rarity-off"},
        {{"search", "--skill", kSkill, "--max-display", "0"}, 2, "--max-display"},
        {{"search", "--skill", kSkill, "--min-defense", "x"}, 2, "--min-defense"},
        {{"search", "--skill", kSkill, "--no-such-option"}, 2, "--no-such-option"},
        {{"search", "--skill", kSkill, "--owned-only"}, 2, "--owned-list"},
        {{"search", "--skill", kSkill, "--best", "attack"}, 2, "--best"},
        {{"search", "--skill", kSkill, "--exact", "--fitting", "rules"}, 2, "--exact"},
        {{"refine"}, 2, "--in"},
        {{"refine", "--in", "any.eql", "--avoid", kSkill}, 2, "除外スキルだけでは検索できません"},
        {{"show"}, 2, "file"},
        // Empty names and set numbers below 1 are wrong options, not missing files.
        {{"search", "--skill", kSkill, "--save", ""}, 2, "--save: an empty path"},
        {{"search", "--skill", kSkill, "--fixed", ""}, 2, "--fixed: an empty path"},
        {{"--data", "", "tables"}, 2, "--data: an empty path"},
        {{"show", "any.eql", "--set", "0", "--extras"}, 2, "--set"},
        {{"show", "any.eql", "--set", "-1", "--extras"}, 2, "--set"},
        {{"import", "any.csv", "--eqe", "/tmp/same", "--eqo", "/tmp/../tmp/same"},
         2,
         "--eqe and --eqo name the same file"},
    });
}

// A FIFO would block the program on opening it and /dev/zero would never end. A list file named
// on the command line must be there and of its format: a search that went on without it would
// quietly ignore what the user asked for.
TEST(CliRefusals, UnusableFilesFailWithTheirMessage) {
    TempFolder folder;
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string data = folder.File("data/");
    std::filesystem::copy(std::string(KESTROVA_SOURCE_DIR) + "/data/", data);
    std::filesystem::remove(data + "TEVREQUIP_ARM.csv");
    ASSERT_EQ(::mkfifo((data + "TEVREQUIP_ARM.csv").c_str(), 0600), 0);
    folder.Write("notes.eql", "not a result file");
    folder.Write("old.eql", std::string("\x22\x02\0\0\x02\0\0\0", 8));
    folder.Write("empty.eqe", std::string("\x06\x07\0\0\x01\0\0\0\0\0\0\0", 12));
    folder.Write("short.eqe", std::string("\x06\x07\0\0\x01\0\0\0\x05\0\0\0", 12));
    const std::string none = folder.File("none");
    const std::string loadFailed = "検索結果の読込に失敗しました";
    const auto searchWith = [](const std::string& option, const std::string& file) {
        return std::vector<std::string>{"search", "--skill", kSkill, option, file};
    };
    ExpectRefusals({
        {{"show", "/dev/zero"}, 1, loadFailed},
        {{"show", fifo}, 1, loadFailed},
        {{"refine", "--in", fifo, "--skill", kSkill}, 1, loadFailed},
        {{"refine", "--in", none, "--skill", kSkill}, 1, loadFailed},
        {{"show", folder.File("notes.eql")}, 1, "検索結果ファイルではありません"},
        {{"show", folder.File("old.eql")}, 1, "検索結果ファイルのバージョンが違います"},
        {{"--data", data, "tables"}, 1, "装備ファイルが読み込めませんでした"},
        {{"--data", none, "search", "--skill", kSkill}, 1, "装備ファイルが読み込めませんでした"},
        {searchWith("--exclude-list", folder.File("notes.eql")), 1,
         "除外装備ファイルの読込に失敗しました"},
        {searchWith("--exclude-list", none), 1, "--exclude-list " + none + ": cannot be read"},
        {searchWith("--owned-list", folder.File("empty.eqe")), 1,
         "所持装備ファイルの読込に失敗しました"},
        {searchWith("--owned-list", folder.Path()), 1,
         "--owned-list " + folder.Path() + ": cannot be read"},
        {searchWith("--fixed", none), 1,
         "固定装備の読み込みに失敗しました\n--fixed " + none + ": cannot be read"},
        {searchWith("--fixed", folder.File("empty.eqe")), 1, "装備ファイルではありません"},
        {{"list", folder.File("short.eqe")}, 1, "除外装備ファイルではありません"},
        {{"import", none}, 1, "TEVRKESTROV 設定ファイルの読込に失敗しました"},
        {{"import", folder.Path()}, 1, "TEVRKESTROV 設定ファイルの読込に失敗しました"},
    });
}

} // namespace
