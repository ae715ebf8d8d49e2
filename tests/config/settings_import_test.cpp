#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/settings_import.h"
#include "support/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

// The name is the last field read into one buffer, so a missing name field leaves the one before
// it. A file far larger than any game's is refused before its names cost memory and time.
TEST(SettingsImport, TakesTheNameFieldOfEachKnownTagUpToTheSizeLimit) {
    CSettingsImport import;
    for (const std::string& line : std::vector<std::string>{
             "EE,1,helm,9\n", "PE,2,mail,x\n", "PD,3,4,gem,5\r\n", "PD,1,short\n", "ee,1,lower,2\n",
             "EEX,1,longer,2\n", "MH,1,other,2\n", "EE,1,truncated", "EE,1," + std::string(40, 'n'),
             "PE,99999999999999," + std::string(40, 'n') + "\n"}) {
        import.ParseLine(line.c_str());
    }
    EXPECT_EQ(import.m_excludedNames, (Names{"helm", "1", "1"}));
    EXPECT_EQ(import.m_ownedNames, (Names{"mail", "gem", "short", std::string(31, 'n')}));

    TempFolder folder;
    EXPECT_FALSE(import.ImportSettings(folder.File("missing.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty());
    // The last name fits just within the limit; one byte more and nothing is read.
    const std::string text = std::string(CSettingsImport::kMaxFileSize - 11, '\n') + "PD,0,0,gem\n";
    folder.Write("full.csv", text);
    ASSERT_TRUE(import.ImportSettings(folder.File("full.csv")));
    EXPECT_EQ(import.m_ownedNames, (Names{"gem"}));
    folder.Write("over.csv", text + "\n");
    EXPECT_FALSE(import.ImportSettings(folder.File("over.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty());
}

} // namespace
