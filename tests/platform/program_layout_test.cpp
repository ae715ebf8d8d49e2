#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/program_layout.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* kTables[] = {"SKILL_EQ.csv", "TEVREQUIP_DECO.csv", "TEVREQUIP_LEG.csv"};

using Variables = std::map<std::string, std::string>;

platform::ProgramLayout Decide(const std::string& programFolder, const Variables& variables) {
    const auto lookup = [&variables](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
    return platform::DecideLayout(programFolder, lookup, kTables);
}

// Installed trees below a temporary folder: the programs in usr/bin/, tables in
// <base>/kestrova/data wherever a case puts them; "@" in a variable stands for the tree.
TEST(ProgramLayout, InstalledTablesFolderPrecedence) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::size_t>> tables; // base, tables it holds
        std::string dataDirs;                                    // "" leaves it unset
        std::string expected;                                    // base
        const char* programFolder = "usr/bin/";
    };
    const Case cases[] = {
        {"own tables win", {{"own", 3}, {"usr/share", 3}}, "", "own"},
        {"incomplete own tables are passed over", {{"own", 2}, {"usr/share", 3}}, "", "usr/share"},
        {"beside the bin folder before the system folders",
         {{"usr/share", 3}, {"sys", 3}},
         "@sys",
         "usr/share"},
        {"first system folder holding every table; relative and empty entries ignored",
         {{"usr/share", 1}, {"a", 2}, {"b", 3}, {"c", 3}},
         "relative/dir::@a:@b/:@c",
         "b"},
        {"none complete names the folder beside the bin folder", {{"sys", 1}}, "@sys", "usr/share"},
        {"unknown program folder", {{"sys", 3}}, "@sys", "sys", ""},
    };
    for (const Case& c : cases) {
        TempFolder tree;
        std::filesystem::create_directories(tree.File("usr/bin"));
        for (const auto& [base, count] : c.tables) {
            for (std::size_t i = 0; i < count; ++i) {
                tree.Write(base + "/kestrova/data/" + kTables[i], "");
            }
        }
        Variables variables = {{"HOME", "/home/p"}, {"XDG_DATA_HOME", tree.Path() + "own"}};
        if (!c.dataDirs.empty()) {
            std::string dirs = c.dataDirs;
            for (std::size_t at = dirs.find('@'); at != std::string::npos; at = dirs.find('@')) {
                dirs.replace(at, 1, tree.Path());
            }
            variables["XDG_DATA_DIRS"] = dirs;
        }
        const std::string programFolder = *c.programFolder ? tree.Path() + c.programFolder : "";
        const platform::ProgramLayout layout = Decide(programFolder, variables);
        EXPECT_TRUE(layout.installed) << c.name;
        EXPECT_EQ(layout.dataFolder, tree.Path() + c.expected + "/kestrova/data/") << c.name;
    }
}

// The files go to <config base>/kestrova/, the player's own tables to <data base>/kestrova/data/.
TEST(ProgramLayout, PlayerFoldersFollowTheXdgRules) {
    const struct {
        Variables variables;
        std::string configBase;
        std::string dataBase;
    } cases[] = {
        {{{"HOME", "/h"}, {"XDG_CONFIG_HOME", "/cfg/"}, {"XDG_DATA_HOME", "/dat"}}, "/cfg", "/dat"},
        // Relative and empty values count as unset.
        {{{"HOME", "/h/"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}},
         "/h/.config",
         "/h/.local/share"},
        {{{"XDG_CONFIG_HOME", "/cfg"}}, "/cfg", "/.local/share"},
        // No home at all: a place a normal user cannot write, so saving fails loudly.
        {{}, "/.config", "/.local/share"},
    };
    for (const auto& c : cases) {
        const platform::ProgramLayout layout = Decide("/nonexistent/bin/", c.variables);
        EXPECT_EQ(layout.filesFolder, c.configBase + "/kestrova/");
        EXPECT_EQ(layout.userDataFolder, c.dataBase + "/kestrova/data/");
    }
}

TEST(ProgramLayout, CreatesTheFilesFolderPrivateToTheUser) {
    TempFolder folder;
    platform::ProgramLayout layout;
    layout.filesFolder = folder.Path() + "config/kestrova/";
    ASSERT_TRUE(platform::CreateFilesFolder(layout));
    for (const char* created : {"config", "config/kestrova"}) {
        struct stat info {};
        ASSERT_EQ(::stat(folder.File(created).c_str(), &info), 0) << created;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << created;
    }
    EXPECT_TRUE(platform::CreateFilesFolder(layout)) << "an existing folder is fine";

    folder.Write("blocked", "a file where a folder should be");
    layout.filesFolder = folder.Path() + "blocked/kestrova/";
    EXPECT_FALSE(platform::CreateFilesFolder(layout));
}

} // namespace
