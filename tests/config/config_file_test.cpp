#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_data.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

namespace {

std::string Le(std::int32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
    }
    return out;
}

std::string Ints(const std::vector<std::int32_t>& values) {
    std::string out;
    for (std::int32_t value : values) {
        out += Le(value);
    }
    return out;
}

// The 37 fields after the recent lists, as a freshly constructed record holds them.
std::vector<std::int32_t> DefaultBlock() {
    std::vector<std::int32_t> block{10000, 1000000, 1, 1, 0, 0, 0, 0, 0};
    block.insert(block.end(), 11 + 1 + 5 + 4, 0);
    block.insert(block.end(), {1, 1, 5, 1, 1, 5, 5});
    return block;
}

std::vector<std::int32_t> Values(const CRecentSkillList& list) {
    return {list.Values().begin(), list.Values().end()};
}

class ConfigFileTest : public ::testing::Test {
protected:
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    void ExpectDefaults(const CConfigData& config) {
        std::string saved = Ints({2, 0, 0}) + Ints(DefaultBlock());
        TempFolder other;
        ASSERT_TRUE(config.Save(other.Path(), sink));
        EXPECT_EQ(other.Read("Config.dat"), saved);
    }

    TempFolder folder;
    platform::RecordingSink sink;
};

TEST_F(ConfigFileTest, DefaultsAreSavedAsExactly160Bytes) {
    CConfigData config;
    EXPECT_FALSE(config.Load(folder.Path()));
    ASSERT_TRUE(config.Save(folder.Path(), sink));
    const std::string bytes = folder.Read("Config.dat");
    EXPECT_EQ(bytes.size(), 160u);
    EXPECT_EQ(bytes, Ints({2, 0, 0}) + Ints(DefaultBlock()));
}

TEST_F(ConfigFileTest, EveryFieldAndBothRecentListsRoundTrip) {
    CConfigData saved;
    saved.PushRecentSkill(0, 7);
    saved.PushRecentSkill(0, 3);
    saved.PushRecentSkill(1, 40);
    saved.m_nMaxDisplay = 50;
    saved.m_nWeaponSlots = 3;
    saved.m_bRarityOff[10] = 1;
    saved.m_nSkillCount = 2;
    saved.m_nSkills[4] = 99;
    saved.m_nOwnWeapon = 2;
    saved.m_nReserved3 = -8;
    ASSERT_TRUE(saved.Save(folder.Path(), sink));
    EXPECT_EQ(folder.Read("Config.dat").size(), 160u + 3 * 4);

    CConfigData loaded;
    ASSERT_TRUE(loaded.Load(folder.Path()));
    EXPECT_EQ(Values(loaded.m_recent[0]), (std::vector<std::int32_t>{7, 3}));
    EXPECT_EQ(Values(loaded.m_recent[1]), (std::vector<std::int32_t>{40}));
    TempFolder again;
    ASSERT_TRUE(loaded.Save(again.Path(), sink));
    EXPECT_EQ(again.Read("Config.dat"), folder.Read("Config.dat"));
}

TEST_F(ConfigFileTest, AnotherVersionIsIgnoredWhole) {
    folder.Write("Config.dat", Ints({3, 1, 5, 0}) + Ints(std::vector<std::int32_t>(37, 9)));
    CConfigData config;
    EXPECT_FALSE(config.Load(folder.Path()));
    EXPECT_EQ(config.m_recent[0].Count(), 0);
    ExpectDefaults(config);
}

// Each cut point keeps exactly the fields that lie wholly before it.
TEST_F(ConfigFileTest, AShortFileFillsOnlyTheFieldsItHolds) {
    std::vector<std::int32_t> block(37);
    for (int i = 0; i < 37; ++i) {
        block[i] = 100 + i;
    }
    const std::string full = Ints({2, 2, 11, 12, 1, 21}) + Ints(block);
    for (std::size_t size = 0; size <= full.size(); ++size) {
        folder.Write("Config.dat", full.substr(0, size));
        CConfigData config;
        EXPECT_EQ(config.Load(folder.Path()), size >= 4) << size;
        const std::size_t whole = size / 4;
        EXPECT_EQ(config.m_recent[0].Count(),
                  static_cast<int>(std::min<std::size_t>(whole > 2 ? whole - 2 : 0, 2)))
            << size;
        EXPECT_EQ(config.m_recent[1].Count(), whole >= 6 ? 1 : 0) << size;
        EXPECT_EQ(config.m_nMaxDisplay, whole >= 7 ? 100 : 10000) << size;
        EXPECT_EQ(config.m_nCustomSex, whole >= 6 + 31 ? 130 : 1) << size;
        EXPECT_EQ(config.m_nReserved3, whole >= 6 + 37 ? 136 : 5) << size;
    }
}

TEST_F(ConfigFileTest, OddRecentCountsNeverReadPastTheFile) {
    folder.Write("Config.dat", Ints({2, -1}) + Ints(DefaultBlock()));
    CConfigData negative;
    EXPECT_TRUE(negative.Load(folder.Path()));
    ExpectDefaults(negative);

    folder.Write("Config.dat", Ints({2, 0x40000000, 5, 6}));
    CConfigData huge;
    EXPECT_TRUE(huge.Load(folder.Path()));
    EXPECT_EQ(Values(huge.m_recent[0]), (std::vector<std::int32_t>{5, 6}));
    EXPECT_EQ(huge.m_nMaxDisplay, 10000);

    std::vector<std::int32_t> fifteen(15);
    for (int i = 0; i < 15; ++i) {
        fifteen[i] = i;
    }
    folder.Write("Config.dat", Ints({2, 15}) + Ints(fifteen) + Ints({0}) + Ints(DefaultBlock()));
    CConfigData many;
    EXPECT_TRUE(many.Load(folder.Path()));
    EXPECT_EQ(Values(many.m_recent[0]), fifteen);
    many.PushRecentSkill(0, 3);
    EXPECT_EQ(many.m_recent[0].Count(), 12);
    EXPECT_EQ(many.m_recent[0].Values().back(), 3);
}

TEST_F(ConfigFileTest, AFailedSaveKeepsThePreviousFile) {
    CConfigData config;
    ASSERT_TRUE(config.Save(folder.Path(), sink));
    const std::string before = folder.Read("Config.dat");
    config.m_nMaxCalc = 5;
    platform::InjectSaveFaultAfter(80);
    EXPECT_FALSE(config.Save(folder.Path(), sink));
    EXPECT_EQ(folder.Read("Config.dat"), before);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"コンフィグ情報の保存に失敗しました"}));
}

TEST(RecentSkills, KeepTheTwelveNewestDistinctSkillsPerWeaponType) {
    CConfigData config;
    for (int skill = 1; skill <= 12; ++skill) {
        config.PushRecentSkill(0, skill);
    }
    config.PushRecentSkill(0, 4);
    EXPECT_EQ(config.m_recent[0].Count(), 12);
    EXPECT_EQ(config.m_recent[0].Values().front(), 1);
    EXPECT_EQ(config.m_recent[0].Values().back(), 4);
    config.PushRecentSkill(0, 13);
    EXPECT_EQ(config.m_recent[0].Values().front(), 2);
    EXPECT_EQ(config.m_recent[0].Count(), 12);

    config.PushRecentSkill(1, 4);
    config.PushRecentSkill(2, 4);
    config.PushRecentSkill(-1, 4);
    EXPECT_EQ(Values(config.m_recent[1]), (std::vector<std::int32_t>{4}));
    EXPECT_EQ(config.m_recent[0].Count(), 12);
}

} // namespace
