#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace {

struct Refusal {
    std::vector<std::string> args;
    int code;
    std::string message; // must appear on stderr
};

void ExpectRefusals(const std::vector<Refusal>& refusals) {
    for (const Refusal& refusal : refusals) {
        std::string shown;
        for (const std::string& arg : refusal.args) {
            shown += arg + " ";
        }
        const CliRun run = RunCli(refusal.args);
        EXPECT_EQ(run.code, refusal.code) << shown << run.err;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << shown << run.err;
        EXPECT_EQ(run.out, "") << shown;
    }
}

TEST(CliRefusals, MissingOrBadSkillsAndOptionsAreNamed) {
    const std::string skill = "攻撃力UP【小】";
    ExpectRefusals({
        {{"search", "--json"}, 2, "スキルが選択されていません"},
        {{"search", "--avoid", skill}, 2, "除外スキルだけでは検索できません"},
        {{"search", "--skill", "存在しない技"}, 2, "存在しない技"},
        {{"search", "--skill", skill, "--avoid", "存在しない技"}, 2, "存在しない技"},
        // A blade-only skill is not offered to a gunner.
        {{"search", "--skill", "斬撃力UP【小】", "--job", "gunner"}, 2, "斬撃力UP【小】"},
        {{"search", "--skill", skill, "--skill", "攻撃力UP【中】"}, 2, "攻撃力UP【中】"},
        {{"search", "--skill", skill, "--skill", "会心＋１", "--skill", "弱点看破", "--skill",
          "火攻撃UP【小】", "--skill", "水攻撃UP【小】", "--avoid", "雷攻撃UP【小】"},
         2,
         "five"},
        {{"search", "--skill", skill, "--weapon-slots", "4"}, 2, "--weapon-slots"},
        {{"search", "--skill", skill, "--sex", "other"}, 2, "--sex"},
        {{"search", "--skill", skill, "--job", "archer"}, 2, "--job"},
        {{"search", "--skill", skill, "--rarity-off", "11"}, 2, "--rarity-off"},
        {{"search", "--skill", skill, "--max-display", "0"}, 2, "--max-display"},
        {{"search", "--skill", skill, "--min-defense", "x"}, 2, "--min-defense"},
        {{"search", "--skill", skill, "--no-such-option"}, 2, "--no-such-option"},
        {{"refine"}, 2, "--in"},
        {{"show"}, 2, "file"},
    });
}

TEST(CliRefusals, UnreadableFilesFailWithTheirMessage) {
    TempFolder folder;
    std::ofstream(folder.File("notes.eql")) << "not a result file";
    std::ofstream(folder.File("old.eql"), std::ios::binary)
        .write("\x22\x02\x00\x00\x02\x00\x00\x00", 8);
    ExpectRefusals({
        {{"refine", "--in", folder.File("missing.eql")}, 1, "検索結果の読込に失敗しました"},
        {{"show", folder.File("missing.eql")}, 1, "検索結果の読込に失敗しました"},
        {{"show", folder.File("notes.eql")}, 1, "検索結果ファイルではありません"},
        {{"show", folder.File("old.eql")}, 1, "検索結果ファイルのバージョンが違います"},
        {{"--data", folder.File("no-data"), "search", "--skill", "攻撃力UP【小】"},
         1,
         "装備ファイルが読み込めませんでした"},
    });
}

} // namespace
