#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

// Saved results read back by show and refine, the commands that advise on skills, output that
// cannot be written and Ctrl-C during a search that saves.
namespace {

using json = nlohmann::ordered_json;

TEST(CliResults, SavedResultsShowAndRefine) {
    TempFolder folder;
    const std::string file = folder.File("attack.eql");
    const json searched =
        JsonOf(RunCli({"search", "--json", "--skill", "攻撃力UP【小】", "--weapon-slots", "2",
                       "--max-display", "50", "--save", file}));
    ASSERT_EQ(searched["results"].size(), 50u) << "--max-display caps the sets";

    const json shown = JsonOf(RunCli({"show", file, "--json"}));
    EXPECT_EQ(shown["results"], searched["results"]);
    EXPECT_EQ(shown["visited"], searched["visited"]);
    EXPECT_EQ(shown["totalCombos"], searched["totalCombos"]);
    const CliRun table = RunCli({"show", file});
    EXPECT_EQ(table.code, 0) << table.err;
    EXPECT_NE(table.out.find(searched["results"][0]["pieces"][0].get<std::string>()),
              std::string::npos);
    EXPECT_NE(table.out.find("検索結果 50件"), std::string::npos);

    // The refined sets come from the file, in its order, and keep its two weapon slots: without
    // them no set reaches the further skill.
    const json refined = JsonOf(RunCli({"refine", "--in", file, "--json", "--skill", "猛攻"}));
    ASSERT_FALSE(refined["results"].empty());
    std::size_t next = 0;
    for (const json& set : refined["results"]) {
        while (next < 50 && searched["results"][next]["pieces"] != set["pieces"]) {
            ++next;
        }
        EXPECT_LT(next++, 50u) << "not from the file: " << set["pieces"].dump();
        EXPECT_NE(set["skills"].dump().find("猛攻"), std::string::npos);
        EXPECT_FALSE(set["decorations"][5].empty());
    }
    EXPECT_EQ(refined["totalCombos"], 50);

    const CliRun extras =
        RunCli({"show", file, "--set", "1", "--extras", "--skill", "攻撃力UP【小】"});
    ASSERT_EQ(extras.code, 0) << extras.err;
    EXPECT_EQ(extras.out.rfind("No.1  追加可能: ", 0), 0u) << extras.out;
    EXPECT_EQ(RunCli({"show", file, "--set", "51", "--extras"}).err,
              "no set 51 in the file (it holds 50)\n");
}

std::string Joined(const json& names, const char* separator) {
    std::string text;
    for (const json& name : names) {
        text += (text.empty() ? "" : separator) + name.get<std::string>();
    }
    return text;
}

// A set of the document as the readable list tells it.
std::string Told(const json& set, bool withWeapon) {
    const auto number = [&set](const char* field) { return set[field].dump(); };
    std::string text = "No." + number("number") + "  防御 " + number("defense") + "  耐性 ";
    const char* elements[] = {"火", "水", "雷", "氷", "龍"};
    for (int element = 0; element < 5; ++element) {
        text += (element == 0 ? "" : " ") + std::string(elements[element]) +
                set["resist"][element].dump();
    }
    text += "  空き " + number("freeSlots") + "\n";
    const char* labels[] = {"頭", "胴", "腕", "腰", "脚", "武器"};
    for (int position = 0; position < (withWeapon ? 6 : 5); ++position) {
        std::string line = position < 5 ? set["pieces"][position].get<std::string>() : "";
        const json& decos = set["decorations"][position];
        if (!decos.empty()) {
            line += (line.empty() ? "[" : "  [") + Joined(decos, ", ") + "]";
        }
        text += "  " + std::string(labels[position]) + "  " + line + "\n";
    }
    return text + "  スキル  " + Joined(set["skills"], " / ") + "\n";
}

// The readable list tells each set as the JSON document does, the weapon's line only for a
// weapon with slots, and its totals follow the last set; both number the sets in order.
TEST(CliResults, TheTableTellsTheSetsOfTheDocument) {
    for (const std::string weapon : {"0", "3"}) {
        std::vector<std::string> args = {
            "search", "--skill", "攻撃力UP【小】", "--skill",       "研ぎ上手", "--weapon-slots",
            weapon,   "--best",  "none",           "--max-display", "400"};
        const CliRun table = RunCli(args);
        args.push_back("--json");
        const json document = JsonOf(RunCli(args));
        const json& sets = document["results"];
        ASSERT_GT(sets.size(), 100u);
        std::string told;
        for (std::size_t i = 0; i < sets.size(); ++i) {
            // Numbered from 1 on, past the carries into a second and a third digit.
            EXPECT_EQ(sets[i]["number"], i + 1);
            told += Told(sets[i], weapon != "0");
        }
        EXPECT_EQ(table.out.substr(0, told.size()), told) << "weapon " << weapon;
        EXPECT_EQ(table.out.find("検索結果 ", told.size()), told.size()) << "weapon " << weapon;
    }
}

// Tables of the one skill "ok" whose pieces, the same on every slot, are named
// "<defence>_<resistance>" after their values.
void WriteValueTables(TempFolder& folder, const std::vector<std::pair<int, int>>& values) {
    folder.Write("data/SKILL_EQ.csv", "ok,S,1,0,x,A\n");
    folder.Write("data/TEVREQUIP_DECO.csv", "");
    for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
        std::string rows;
        for (const auto& [defense, resist] : values) {
            const std::string d = std::to_string(defense);
            const std::string r = std::to_string(resist);
            rows += d + "_" + r + ",0,0,1,0," + d + "," + d + "," + r + "," + r + "," + r + "," +
                    r + "," + r + ",S,1\n";
        }
        folder.Write(std::string("data/TEVREQUIP_") + file + ".csv", rows);
    }
}

// Each listed total is the sum of its pieces, as their names tell them.
void ExpectTotalsAreSumsOfPieces(const json& document) {
    for (const json& set : document["results"]) {
        int defense = 0;
        int resist = 0;
        for (const json& piece : set["pieces"]) {
            const std::string name = piece.get<std::string>();
            defense += std::stoi(name);
            resist += std::stoi(name.substr(name.find('_') + 1));
        }
        EXPECT_EQ(set["defense"], defense) << set.dump();
        EXPECT_EQ(set["resist"], json::array({resist, resist, resist, resist, resist}))
            << set.dump();
    }
}

// Defences and resistances of one to five digits, either sign, are written exactly, in the
// order found and in whatever order a ranking lays the sets out.
TEST(CliResults, TotalsAreTheSumsOfTheirPieces) {
    TempFolder found;
    WriteValueTables(found, {{0, -99}, {199, -1}, {9999, 99}, {7, 0}});
    const json all = JsonOf(RunCli({"--data", found.File("data"), "search", "--skill", "ok",
                                    "--max-display", "10000", "--json"}));
    ASSERT_EQ(all["results"].size(), 1024u);
    ExpectTotalsAreSumsOfPieces(all);

    TempFolder ranked;
    WriteValueTables(ranked, {{9999, -99}, {0, 99}, {7, 0}});
    const json byFire = JsonOf(RunCli(
        {"--data", ranked.File("data"), "search", "--skill", "ok", "--best", "fire", "--json"}));
    ASSERT_EQ(byFire["results"].size(), 243u);
    ExpectTotalsAreSumsOfPieces(byFire);
}

// The levels extra-skills names are within reach of a further search; a search that finds
// nothing says which chosen skill keeps the sets out and leaves no file behind.
TEST(CliResults, ExtraSkillsAndAdvice) {
    const std::vector<std::string> three = {"--skill", "先読み", "--skill",        "重撃【小】",
                                            "--skill", "剛腕",   "--weapon-slots", "1"};
    std::vector<std::string> args = {"extra-skills", "--json"};
    args.insert(args.end(), three.begin(), three.end());
    const json extra = JsonOf(RunCli(args));
    ASSERT_FALSE(extra["skills"].empty());
    const json& first = extra["skills"][0];
    EXPECT_TRUE(first.contains("system") && first.contains("threshold"));
    args = {"search", "--json", "--exact", "--max-display", "1", "--skill", first["name"]};
    args.insert(args.end(), three.begin(), three.end());
    EXPECT_EQ(JsonOf(RunCli(args))["results"].size(), 1u);

    TempFolder folder;
    args = {"search", "--json", "--min-defense", "100000", "--save", folder.File("none.eql")};
    args.insert(args.end(), three.begin(), three.end() - 2);
    const CliRun run = RunCli(args);
    const json empty = JsonOf(run);
    EXPECT_TRUE(empty["results"].empty());
    // The minimum defence keeps the sets out, and says so first; each skill does not.
    ASSERT_EQ(empty["advice"].size(), 4u);
    EXPECT_EQ(empty["advice"][0]["without"], "--min-defense");
    EXPECT_GT(empty["advice"][0]["sets"], 0);
    EXPECT_EQ(empty["advice"][1]["sets"], 0);
    EXPECT_FALSE(empty["advice"][1]["atLeast"].get<bool>());
    EXPECT_NE(run.err.find(folder.File("none.eql") + " was not written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("none.eql")));
}

TEST(CliResults, OutputThatCannotBeWrittenFails) {
    const std::vector<std::vector<std::string>> commands = {
        {"search", "--skill", "攻撃力UP【小】", "--json"},
        {"search", "--skill", "攻撃力UP【小】"},
        {"skills"},
        {"tables"},
        {"--help"},
    };
    for (const std::vector<std::string>& args : commands) {
        const CliRun run = RunCli(args, "/dev/full");
        EXPECT_EQ(run.code, 1) << args[0];
        EXPECT_NE(run.err.find("standard output could not be written"), std::string::npos)
            << run.err;
    }

    // A reader that leaves early, with SIGPIPE ignored as some shells and services do: the
    // program sees the failed writes and must not claim success.
    TempFolder folder;
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread reader([&fifo] { std::ifstream(fifo).get(); });
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(RunCli({"search", "--skill", "攻撃力UP【小】"}, fifo).code, 1);
    std::signal(SIGPIPE, previous);
    reader.join();
}

// A save that fails names the file and the system's cause on one line, exits 1 and leaves nothing.
TEST(CliResults, FailedSavesNameTheFileAndTheCause) {
    TempFolder folder;
    std::filesystem::create_directories(folder.File("locked"));
    ::chmod(folder.File("locked").c_str(), 0555);
    folder.Write("settings.csv", "MH,1\r\nPE,0,x,1\r\n");
    const struct {
        std::string command;
        std::string target;
        std::string cause;
    } cases[] = {
        {"search", folder.File("missing/out.eql"), "No such file or directory"},
        {"search", folder.Path(), "Is a directory"},
        {"import", folder.File("missing/out.eqo"), "No such file or directory"},
        {"import", folder.File("locked/out.eqo"), "Permission denied"},
    };
    for (const auto& c : cases) {
        // The superuser writes into a read-only folder all the same.
        if (::geteuid() == 0 && c.cause == "Permission denied") {
            continue;
        }
        const CliRun run = c.command == "search"
                               ? RunCli({"search", "--skill", "攻撃力UP【小】", "--max-display",
                                         "5", "--save", c.target})
                               : RunCli({"import", folder.File("settings.csv"), "--eqo", c.target});
        EXPECT_EQ(run.code, 1) << c.target;
        EXPECT_NE(run.err.find("の保存に失敗しました: " + c.target + ": " + c.cause + "\n"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("locked/out.eqo")));
}

// A display limit higher than memory allows ends the search with a message and exit 1, not an
// abort, and saves nothing.
TEST(CliResults, RunningOutOfMemoryEndsWithAMessageAndSavesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit leaves";
#endif
    TempFolder folder;
    const std::string saved = folder.File("all.eql");
    const CliRun run = RunCli({"search", "--skill", "攻撃力UP【小】", "--max-display", "100000000",
                               "--max-calc", "100000000", "--save", saved},
                              "", -1, 200'000'000);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("not enough memory: the command stopped and nothing was saved"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(saved));
}

// Three minus levels that only the first piece of every slot reaches together: the one set is
// found at once, then the search runs on through some 10^16 combinations until Ctrl-C. Every
// other piece is a group of its own, so that even the walk of the subtrees the bounds rule out
// takes seconds.
void WriteEndlessSearchTables(const std::string& data) {
    std::filesystem::create_directories(data);
    std::ofstream(data + "SKILL_EQ.csv") << "a,A,-5,0,x,A\nb,B,-5,0,x,A\nc,C,-5,0,x,A\n";
    std::ofstream(data + "TEVREQUIP_DECO.csv") << "";
    for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
        std::ofstream table(data + "TEVREQUIP_" + file + ".csv");
        table << "hit,0,0,1,0,1,1,0,0,0,0,0,A,-1,B,-1,C,-1\n";
        for (int i = 0; i < 2048; ++i) {
            table << "p" << i << ",0,0,1,0,1,1,0,0,0,0,0,A," << i % 16 << ",B," << i / 16 % 32 - 16
                  << ",C," << i / 512 << "\n";
        }
    }
}

TEST(CliResults, AnInterruptedSearchListsItsSetsButSavesNothing) {
    TempFolder folder;
    const std::string data = folder.File("data/");
    WriteEndlessSearchTables(data);
    const std::string saved = folder.File("previous.eql");
    std::ofstream(saved) << "the previous results";
    const CliRun run = RunCli(
        {"--data", data, "search", "--skill", "a", "--skill", "b", "--skill", "c", "--save", saved},
        "", 1000);
    EXPECT_EQ(run.code, 130) << run.err;
    EXPECT_NE(run.out.find("検索結果 1件"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with(")\n中断されました\n")) << run.out;
    EXPECT_NE(run.err.find("中断されました"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(saved + " was not written"), std::string::npos) << run.err;
    EXPECT_EQ(folder.Read("previous.eql"), "the previous results");
}

// Ctrl-C while a long list of sets is printed stops it there: the JSON document is closed, the
// exit code says so and nothing is saved.
TEST(CliResults, CtrlCWhileListingStopsTheListing) {
    TempFolder folder;
    const std::string saved = folder.File("stopped.eql");
    for (const char* form : {"--json", "--fast"}) {
        const CliRun run = RunCliInterruptedWhileListing(
            {"search", "--skill", "攻撃力UP【小】", form, "--save", saved});
        EXPECT_EQ(run.code, 130) << form << run.err;
        const std::size_t listed = std::count(run.out.begin(), run.out.end(), '\n');
        if (form == std::string("--json")) {
            const json document = json::parse(run.out);
            EXPECT_LT(document["results"].size(), 10000u);
        } else {
            EXPECT_LT(listed, 10000u * 7);
            EXPECT_NE(run.out.find("検索結果 10000件"), std::string::npos);
        }
        EXPECT_FALSE(std::filesystem::exists(saved)) << form;
    }
}

} // namespace
