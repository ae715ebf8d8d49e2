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

TEST(ProgramLayout, DataBesideTheProgramKeepsEverythingThere) {
    TempFolder folder;
    std::filesystem::create_directories(folder.File("data"));
    const platform::ProgramLayout layout =
        Decide(folder.Path(), {{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "/home/p/cfg"}});
    EXPECT_FALSE(layout.installed);
    EXPECT_EQ(layout.dataFolder, folder.Path() + "data/");
    EXPECT_EQ(layout.filesFolder, folder.Path());
}

// Installed trees below a temporary folder: the programs in usr/bin/, tables wherever a case
// puts them; "@" in a variable stands for the tree.
TEST(ProgramLayout, InstalledTablesFolderPrecedence) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::size_t>> tables; // folder, tables it holds
        std::string dataDirs;                                    // "" leaves it unset
        std::string expected;
        const char* programFolder = "usr/bin/";
    };
    const Case cases[] = {
        {"own tables win",
         {{"own/kestrova/data", 3}, {"usr/share/kestrova/data", 3}},
         "",
         "own/kestrova/data/"},
        {"incomplete own tables are passed over",
         {{"own/kestrova/data", 2}, {"usr/share/kestrova/data", 3}},
         "",
         "usr/share/kestrova/data/"},
        {"beside the bin folder before the system folders",
         {{"usr/share/kestrova/data", 3}, {"sys/kestrova/data", 3}},
         "@sys",
         "usr/share/kestrova/data/"},
        {"first system folder holding every table; relative and empty entries ignored",
         {{"usr/share/kestrova/data", 1},
          {"a/kestrova/data", 2},
          {"b/kestrova/data", 3},
          {"c/kestrova/data", 3}},
         "relative/dir::@a:@b/:@c",
         "b/kestrova/data/"},
        {"none complete names the folder beside the bin folder",
         {{"sys/kestrova/data", 1}},
         "@sys",
         "usr/share/kestrova/data/"},
        {"unknown program folder", {{"sys/kestrova/data", 3}}, "@sys", "sys/kestrova/data/", ""},
    };
    for (const Case& c : cases) {
        TempFolder tree;
        std::filesystem::create_directories(tree.File("usr/bin"));
        for (const auto& [folder, count] : c.tables) {
            for (std::size_t i = 0; i < count; ++i) {
                tree.Write(folder + "/" + kTables[i], "");
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
        EXPECT_EQ(layout.dataFolder, tree.Path() + c.expected) << c.name;
    }
}

TEST(ProgramLayout, PlayerFoldersFollowTheXdgRules) {
    struct Case {
        Variables variables;
        std::string files;
        std::string userData;
    };
    const Case cases[] = {
        {{{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "/cfg/"}, {"XDG_DATA_HOME", "/dat"}},
         "/cfg/kestrova/",
         "/dat/kestrova/data/"},
        // Relative and empty values count as unset.
        {{{"HOME", "/home/p/"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}},
         "/home/p/.config/kestrova/",
         "/home/p/.local/share/kestrova/data/"},
        {{{"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/kestrova/", "/.local/share/kestrova/data/"},
        // No home at all: a place a normal user cannot write, so saving fails loudly.
        {{}, "/.config/kestrova/", "/.local/share/kestrova/data/"},
    };
    for (const Case& c : cases) {
        const platform::ProgramLayout layout = Decide("/nonexistent/bin/", c.variables);
        EXPECT_EQ(layout.filesFolder, c.files);
        EXPECT_EQ(layout.userDataFolder, c.userData);
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
