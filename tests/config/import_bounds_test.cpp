#include <string>

#include <gtest/gtest.h>

#include "config/settings_import.h"
#include "support/temp_folder.h"

// A settings file far larger than any game's is refused before its names cost memory and time.
namespace {

TEST(ImportBounds, AFileUpToTheLimitIsReadAndALargerOneIsRefusedWithNothingKept) {
    TempFolder folder;
    const std::string line = "PD,0,0,gem\nEE,0,helm\n";
    std::string text;
    while (text.size() + line.size() <= CSettingsImport::kMaxFileSize) {
        text += line;
    }
    text.resize(CSettingsImport::kMaxFileSize, '\n');
    folder.Write("full.csv", text);
    CSettingsImport import;
    ASSERT_TRUE(import.ImportSettings(folder.File("full.csv")));
    EXPECT_EQ(import.m_ownedNames.size(), text.size() / line.size());
    EXPECT_EQ(import.m_ownedNames.size(), import.m_excludedNames.size());

    folder.Write("over.csv", text + "PD,0,0,gem\n");
    EXPECT_FALSE(import.ImportSettings(folder.File("over.csv")));
    EXPECT_TRUE(import.m_ownedNames.empty() && import.m_excludedNames.empty());
}

TEST(ImportBounds, AHundredMegabyteLineIsRefused) {
    TempFolder folder;
    std::string line;
    line.reserve(100u << 20);
    while (line.size() < (100u << 20)) {
        line += "EE,0,helm,";
    }
    folder.Write("huge.csv", line);
    CSettingsImport import;
    EXPECT_FALSE(import.ImportSettings(folder.File("huge.csv")));
    EXPECT_TRUE(import.m_excludedNames.empty());
}

} // namespace
