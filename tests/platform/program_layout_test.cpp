#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/program_layout.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTables[] = {"SKILL_EQ.csv", "TEVREQUIP_DECO.csv", "TEVREQUIP_LEG.csv"};

using Variables = std::map<std::string, std::string>;

platform::EnvironmentLookup Environment(Variables variables) {
    return [variables](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

// A prefix as a package installs it: the programs in usr/bin/, nothing beside them.
class InstalledTree : public TempFolder {
public:
    InstalledTree() { fs::create_directories(File("usr/bin")); }

    std::string Bin() const { return Path() + "usr/bin/"; }

    void AddTables(const std::string& folder, std::size_t count = std::size(kTables)) const {
        for (std::size_t i = 0; i < count; ++i) {
            Write(folder + "/" + kTables[i], "");
        }
    }

    platform::ProgramLayout Decide(const Variables& variables) const {
        return platform::DecideLayout(Bin(), Environment(variables), kTables);
    }
};

TEST(ProgramLayout, DataBesideTheProgramKeepsEverythingThere) {
    TempFolder folder;
    fs::create_directories(folder.File("data"));
    const Variables xdg = {{"HOME", "/home/p"},
                           {"XDG_CONFIG_HOME", "/home/p/cfg"},
                           {"XDG_DATA_HOME", "/home/p/share"}};
    const platform::ProgramLayout layout =
        platform::DecideLayout(folder.Path(), Environment(xdg), kTables);
    EXPECT_FALSE(layout.installed);
    EXPECT_EQ(layout.dataFolder, folder.Path() + "data/");
    EXPECT_EQ(layout.filesFolder, folder.Path());
    EXPECT_EQ(layout.userDataFolder, "");
}

TEST(ProgramLayout, InstalledFindsTheTablesBesideTheBinFolder) {
    InstalledTree tree;
    tree.AddTables("usr/share/kestrova/data");
    const platform::ProgramLayout layout = tree.Decide({{"HOME", "/home/p"}});
    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.dataFolder, tree.Path() + "usr/share/kestrova/data/");
    EXPECT_EQ(layout.userDataFolder, "/home/p/.local/share/kestrova/data/");
    EXPECT_EQ(layout.filesFolder, "/home/p/.config/kestrova/");
}

TEST(ProgramLayout, TablesFolderPrecedence) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::size_t>> tables; // folder, tables it holds
        std::string dataDirs;                                    // "" leaves XDG_DATA_DIRS unset
        std::string expected;                                    // below the tree
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
        {"first system folder holding every table",
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
    };
    for (const Case& c : cases) {
        InstalledTree tree;
        for (const auto& [folder, count] : c.tables) {
            tree.AddTables(folder, count);
        }
        Variables variables = {{"HOME", "/home/p"}, {"XDG_DATA_HOME", tree.Path() + "own"}};
        if (!c.dataDirs.empty()) {
            std::string dirs = c.dataDirs;
            for (std::size_t at = dirs.find('@'); at != std::string::npos; at = dirs.find('@')) {
                dirs.replace(at, 1, tree.Path());
            }
            variables["XDG_DATA_DIRS"] = dirs;
        }
        EXPECT_EQ(tree.Decide(variables).dataFolder, tree.Path() + c.expected) << c.name;
    }
}

TEST(ProgramLayout, ConfigFolderFollowsTheXdgRules) {
    struct Case {
        Variables variables;
        std::string files;
        std::string userData;
    };
    const Case cases[] = {
        {{{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "/cfg/"}, {"XDG_DATA_HOME", "/dat"}},
         "/cfg/kestrova/",
         "/dat/kestrova/data/"},
        // Relative and empty values are ignored, as if unset.
        {{{"HOME", "/home/p"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}},
         "/home/p/.config/kestrova/",
         "/home/p/.local/share/kestrova/data/"},
        {{{"HOME", "/home/p/"}},
         "/home/p/.config/kestrova/",
         "/home/p/.local/share/kestrova/data/"},
        {{{"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/kestrova/", "/.local/share/kestrova/data/"},
        // No home at all: a place a normal user cannot write, so saving fails loudly.
        {{}, "/.config/kestrova/", "/.local/share/kestrova/data/"},
        {{{"HOME", "relative"}}, "/.config/kestrova/", "/.local/share/kestrova/data/"},
    };
    InstalledTree tree;
    for (const Case& c : cases) {
        const platform::ProgramLayout layout = tree.Decide(c.variables);
        EXPECT_EQ(layout.filesFolder, c.files);
        EXPECT_EQ(layout.userDataFolder, c.userData);
    }
}

TEST(ProgramLayout, UnknownProgramFolderIsInstalledWithoutTheRelativeFolder) {
    InstalledTree tree;
    tree.AddTables("sys/kestrova/data");
    const platform::ProgramLayout layout = platform::DecideLayout(
        "", Environment({{"HOME", "/home/p"}, {"XDG_DATA_DIRS", tree.Path() + "sys"}}), kTables);
    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.dataFolder, tree.Path() + "sys/kestrova/data/");
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
