#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "platform/sjis.h"

// The commands that report on files: where they are, and what list files hold.
namespace {

// The built program has data/ beside it, so it runs portable: everything beside the program.
TEST(CliCommands, PathsOfAPortableBuildAndTheDataOption) {
    const std::string bin = std::filesystem::path(KESTROVA_CLI).parent_path().string() + "/";
    const CliRun portable = RunCli({"paths"});
    EXPECT_EQ(portable.code, 0) << portable.err;
    std::string expected = "layout\tportable\ntables\t" + bin + "data/\n";
    for (const char* file : {"Config.dat", "Fixed.dat", "Exclude.dat", "OwnEquip.dat"}) {
        expected += std::string(file) + "\t" + bin + file + "\n";
    }
    EXPECT_EQ(portable.out, expected);

    const CliRun named = RunCli({"--data", "/elsewhere/tables", "paths"});
    EXPECT_NE(named.out.find("tables\t/elsewhere/tables/\n"), std::string::npos) << named.out;
}

// `list` marks the names the tables lack; `import` says what each kind of name gave and where it
// went, and an owned list keeps a place for a name it could not find.
TEST(CliCommands, ListAndImportShowWhatTheFilesHold) {
    TempFolder folder;
    std::string leg = std::string("\x04\0\0\0nowhere", 11);
    leg.resize(100, '\0');
    folder.Write("stranger.eqe", std::string("\x06\x07\0\0\x01\0\0\0\x01\0\0\0", 12) + leg);
    EXPECT_EQ(RunCli({"list", folder.File("stranger.eqe")}).out,
              "excluded list (format 1798), 1 entries\n脚\tnowhere (not found)\t0\n");

    const std::string head = "シガラクラウン";
    const std::string deco = "攻撃珠【１】";
    folder.Write("settings.csv",
                 platform::Utf8ToSjis("MH,1\r\nEE,0,だれも,1\r\nPE,0," + head + ",1\r\nPD,0,0," +
                                      deco + ",1\r\nPD,0,0,ないもの,1\r\n"));
    const CliRun run = RunCli({"import", folder.File("settings.csv"), "--eqo",
                               folder.File("out.eqo"), "--eqe", folder.File("unused.eqe")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "excluded: 1 names, 0 found, written to " + folder.File("unused.eqe") +
                           "\nnot found: だれも\nowned: 3 names, 2 found, written to " +
                           folder.File("out.eqo") + "\nnot found: ないもの\n");
    EXPECT_EQ(RunCli({"list", folder.File("out.eqo")}).out,
              "owned list (format 1795), 3 entries\n頭\t" + head + "\n装\t" + deco + "\n(empty)\n");
}

// Names from tables and list files reach the terminal with their control characters and DEL
// shown as U+FFFD: a crafted name must not retitle, recolour or clear it, nor split a line.
bool HasControls(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) < 0x20 && byte != '\n' && byte != '\t') ||
               byte == 0x7F;
    });
}

TEST(CliCommands, HostileNamesAreShownHarmlessly) {
    TempFolder folder;
    const std::string hostile = "p\x1b]0;PWNED\x07\x1b[2J\x7f";
    folder.Write("data/SKILL_EQ.csv", "ok,S,1,0,x,A\n\x1b[31mred,R\x7f,1,0,x,A\n");
    folder.Write("data/TEVREQUIP_DECO.csv", "");
    for (const char* file : {"HEAD", "BODY", "ARM", "WST", "LEG"}) {
        folder.Write(std::string("data/TEVREQUIP_") + file + ".csv",
                     hostile + ",0,0,1,0,1,1,0,0,0,0,0,S,1\n");
    }
    std::string entry = std::string("\x04\0\0\0q", 5) + hostile;
    entry.resize(100, '\0');
    folder.Write("hostile.eqe", std::string("\x06\x07\0\0\x01\0\0\0\x01\0\0\0", 12) + entry);
    const std::string data = folder.File("data");
    const std::string list = folder.File("hostile.eqe");

    const std::vector<std::vector<std::string>> commands = {
        {"--data", data, "skills"},
        {"--data", data, "list", list},
        {"--data", data, "search", "--skill", "ok", "--exclude-list", list},
        {"--data", data, "search", "--skill", "ok", "--json"},
    };
    for (const std::vector<std::string>& args : commands) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.code, 0) << args[2] << run.err;
        EXPECT_FALSE(HasControls(run.out)) << args[2] << run.out;
        EXPECT_FALSE(HasControls(run.err)) << args[2] << run.err;
        EXPECT_NE(run.out.find("\uFFFD"), std::string::npos) << args[2] << run.out;
    }
    // The excluded entry matches nothing: the search says so and goes on.
    const CliRun warned = RunCli(commands[2]);
    EXPECT_NE(warned.err.find("--exclude-list " + list + ": not found in the tables: qp\uFFFD]0"),
              std::string::npos)
        << warned.err;
}

} // namespace
