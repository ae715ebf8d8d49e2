#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace {

// The built program has data/ beside it, so it runs portable: everything beside the program.
TEST(CliPaths, PortableBuildKeepsEverythingBesideTheProgramAndDataWins) {
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

} // namespace
