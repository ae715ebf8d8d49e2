#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_data.h"
#include "support/temp_folder.h"

namespace {

using Ints = std::vector<std::int32_t>;

std::string Bytes(const Ints& values) {
    std::string out;
    for (std::int32_t value : values) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
        }
    }
    return out;
}

// The 37 fields after the recent lists, as a freshly constructed record holds them.
Ints DefaultBlock() {
    Ints block{10000, 1000000, 1, 1};
    block.resize(4 + 5 + 11 + 1 + 5 + 4, 0);
    block.insert(block.end(), {1, 1, 5, 1, 1, 5, 5});
    return block;
}

// The settings after that block: "完全検索".
Ints Extension(std::int32_t exactFitting = 0) {
    return {exactFitting};
}

Ints Values(const CRecentSkillList& list) {
    return {list.Values().begin(), list.Values().end()};
}

class ConfigFileTest : public ::testing::Test {
protected:
    std::string Saved(const CConfigData& config) {
        TempFolder other;
        EXPECT_TRUE(config.Save(other.Path(), sink));
        return other.Read("Config.dat");
    }

    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(ConfigFileTest, DefaultsAreSavedAsExactly164BytesAndEveryFieldRoundTrips) {
    CConfigData config;
    EXPECT_FALSE(config.Load(folder.Path()));
    EXPECT_EQ(Saved(config).size(), 164u);
    EXPECT_EQ(Saved(config), Bytes({2, 0, 0}) + Bytes(DefaultBlock()) + Bytes(Extension()));

    config.PushRecentSkill(0, 7);
    config.PushRecentSkill(0, 3);
    config.PushRecentSkill(1, 40);
    config.m_nMaxDisplay = 50;
    config.m_bRarityOff[10] = 1;
    config.m_nSkills[4] = 99;
    config.m_nReserved3 = -8;
    config.m_bExactFitting = 1;
    ASSERT_TRUE(config.Save(folder.Path(), sink));
    EXPECT_EQ(folder.Read("Config.dat").size(), 164u + 3 * 4);
    CConfigData loaded;
    ASSERT_TRUE(loaded.Load(folder.Path()));
    EXPECT_EQ(Values(loaded.m_recent[0]), (Ints{7, 3}));
    EXPECT_EQ(Values(loaded.m_recent[1]), (Ints{40}));
    EXPECT_EQ(loaded.m_bExactFitting, 1);
    EXPECT_EQ(Saved(loaded), folder.Read("Config.dat"));
}

// Of the bytes after the fixed block only true flags are taken, however many bytes there are.
TEST_F(ConfigFileTest, AnotherVersionIsIgnoredWholeAndTrailingBytesAreNot) {
    folder.Write("Config.dat", Bytes({3, 1, 5, 0}) + Bytes(Ints(37, 9)));
    CConfigData config;
    EXPECT_FALSE(config.Load(folder.Path()));
    EXPECT_EQ(Saved(config), Bytes({2, 0, 0}) + Bytes(DefaultBlock()) + Bytes(Extension()));

    Ints block = DefaultBlock();
    block[0] = 77;
    block.back() = 78;
    const std::string file = Bytes({2, 1, 4, 0}) + Bytes(block);
    folder.Write("Config.dat", file + std::string(100000, '\x7f'));
    ASSERT_TRUE(config.Load(folder.Path()));
    EXPECT_EQ(Saved(config), file + Bytes(Extension()));
}

// A file of the version-2 layout reads with "完全検索" off; a new file is that layout with the flag
// after it, so a reader of the old layout, which stops at the end of the block, still reads it.
TEST_F(ConfigFileTest, TheExactFlagFollowsTheVersionTwoBlock) {
    Ints block = DefaultBlock();
    block[26] = 1; // fast search
    const std::string oldFile = Bytes({2, 1, 6, 0}) + Bytes(block);
    folder.Write("Config.dat", oldFile);
    CConfigData config;
    ASSERT_TRUE(config.Load(folder.Path()));
    EXPECT_EQ(config.m_bFastSearch, 1);
    EXPECT_EQ(config.m_bExactFitting, 0);
    config.m_bExactFitting = 1;
    EXPECT_EQ(Saved(config), oldFile + Bytes(Extension(1)));

    folder.Write("Config.dat", oldFile + Bytes(Extension(7)));
    CConfigData odd;
    ASSERT_TRUE(odd.Load(folder.Path()));
    EXPECT_EQ(odd.m_bExactFitting, 0) << "only 0 and 1 are flags";
}

// Each cut point keeps exactly the fields that lie wholly before it.
TEST_F(ConfigFileTest, AShortFileFillsOnlyTheFieldsItHolds) {
    Ints block(37);
    for (int i = 0; i < 37; ++i) {
        block[i] = 100 + i;
    }
    const std::string full = Bytes({2, 2, 11, 12, 1, 21}) + Bytes(block);
    for (std::size_t size = 0; size <= full.size(); ++size) {
        folder.Write("Config.dat", full.substr(0, size));
        CConfigData config;
        EXPECT_EQ(config.Load(folder.Path()), size >= 4) << size;
        const std::size_t whole = size / 4;
        EXPECT_EQ(config.m_recent[0].Count(), std::clamp<int>(static_cast<int>(whole) - 2, 0, 2));
        EXPECT_EQ(config.m_recent[1].Count(), whole >= 6 ? 1 : 0) << size;
        EXPECT_EQ(config.m_nMaxDisplay, whole >= 7 ? 100 : 10000) << size;
        EXPECT_EQ(config.m_nCustomSex, whole >= 6 + 31 ? 130 : 1) << size;
        EXPECT_EQ(config.m_nReserved3, whole >= 6 + 37 ? 136 : 5) << size;
    }
}

// A negative count ends the reading; a count beyond the file takes what is there; a long list
// is kept whole until the next push trims it.
TEST_F(ConfigFileTest, OddRecentCountsNeverReadPastTheFile) {
    folder.Write("Config.dat", Bytes({2, -1}) + Bytes(Ints(37, 9)));
    CConfigData negative;
    EXPECT_TRUE(negative.Load(folder.Path()));
    EXPECT_EQ(Saved(negative), Bytes({2, 0, 0}) + Bytes(DefaultBlock()) + Bytes(Extension()));

    folder.Write("Config.dat", Bytes({2, 0x40000000, 5, 6}));
    CConfigData huge;
    EXPECT_TRUE(huge.Load(folder.Path()));
    EXPECT_EQ(Values(huge.m_recent[0]), (Ints{5, 6}));
    EXPECT_EQ(huge.m_nMaxDisplay, 10000);

    Ints fifteen{15};
    for (int i = 0; i < 15; ++i) {
        fifteen.push_back(i);
    }
    folder.Write("Config.dat", Bytes({2}) + Bytes(fifteen) + Bytes({0}) + Bytes(DefaultBlock()));
    CConfigData many;
    EXPECT_TRUE(many.Load(folder.Path()));
    EXPECT_EQ(many.m_recent[0].Count(), 15);
    many.PushRecentSkill(0, 3);
    EXPECT_EQ(many.m_recent[0].Count(), 12);
    EXPECT_EQ(many.m_recent[0].Values().back(), 3);
    many.PushRecentSkill(0, 10);
    EXPECT_EQ(Values(many.m_recent[0]), (Ints{4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 3, 10}))
        << "a repeated skill moves to the newest end";
}

} // namespace
