#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_data.h"
#include "lists/list_test_support.h"

namespace {

std::string Bytes(const std::vector<std::int32_t>& values) {
    std::string out;
    for (std::int32_t value : values) {
        out += list_test::Le(value);
    }
    return out;
}

// The 37 fields after the recent lists, as a freshly constructed record holds them.
const std::string kDefaultBlock =
    Bytes({10000, 1000000, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
           0,     0,       0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 5, 1, 1, 5, 5});
// After the block: "完全検索" on, ranked by defence, no chosen rows past the fifth.
const std::string kNoMoreSkills = Bytes({-1, -1, -1, -1, -1});
const std::string kNewDefaults = Bytes({1, 1}) + kNoMoreSkills;
// A version-2 file with empty recent lists and the defaults.
const std::string kDefaults = Bytes({2, 0, 0}) + kDefaultBlock + kNewDefaults;

std::string Saved(const CConfigData& config) {
    TempFolder folder;
    platform::RecordingSink sink;
    EXPECT_TRUE(config.Save(folder.Path(), sink));
    return folder.Read("Config.dat");
}

// A file without a version leaves the defaults. Another version is ignored whole; of the bytes
// after the block only a true flag is taken, so readers of either layout read each other's files.
// A cut keeps the fields wholly before it; a negative recent count ends the reading, a count
// beyond the file takes what is there. A file holding every field saves back unchanged.
TEST(ConfigFile, EachFileSavesBackWhatWasReadOfIt) {
    std::vector<std::int32_t> values(37);
    std::iota(values.begin(), values.end(), 100);
    const std::string block = Bytes(values);
    const std::string recent = Bytes({2, 15, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0});
    const std::string old = recent + block;
    const std::size_t fast = recent.size() + 26 * 4;
    const struct {
        const char* what;
        std::string file;
        bool loads;
        std::string saved;
    } cases[] = {
        {"empty file", "", false, kDefaults},
        {"version 3", Bytes({3, 1, 5, 0}) + block, false, kDefaults},
        {"version-2 layout", old, true, old + kNewDefaults},
        {"exact flag off", old + Bytes({0}), true, old + Bytes({0, 1}) + kNoMoreSkills},
        {"rules, found order", old + Bytes({0, 0}), true, old + Bytes({0, 0}) + kNoMoreSkills},
        {"best by owned pieces", old + Bytes({1, 8}), true, old + Bytes({1, 8}) + kNoMoreSkills},
        {"seven chosen rows", old + Bytes({1, 1, 40, 41}), true,
         old + Bytes({1, 1, 40, 41, -1, -1, -1})},
        {"out of range", old + Bytes({7, 9}), true, old + kNewDefaults},
        {"trailing bytes", old + std::string(100000, '\x7f'), true, old + kNewDefaults},
        {"cut in a recent list", Bytes({2, 2, 11, 12}).substr(0, 14), true,
         Bytes({2, 1, 11}) + kDefaults.substr(8)},
        {"cut in the block", old.substr(0, fast + 5), true,
         old.substr(0, fast + 4) + kDefaultBlock.substr(27 * 4) + kNewDefaults},
        {"negative count", Bytes({2, -1}) + block, true, kDefaults},
        {"count past the end", Bytes({2, 0x40000000, 5, 6}), true,
         Bytes({2, 2, 5, 6, 0}) + kDefaultBlock + kNewDefaults},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        folder.Write("Config.dat", c.file);
        CConfigData config;
        EXPECT_EQ(config.Load(folder.Path()), c.loads) << c.what;
        EXPECT_EQ(Saved(config), c.saved) << c.what;
    }

    // Fields lie where the file puts them. A list longer than twelve is kept whole until a push
    // trims it; a pushed skill moves to the newest end.
    folder.Write("Config.dat", old);
    CConfigData config;
    ASSERT_TRUE(config.Load(folder.Path()));
    EXPECT_EQ(
        (std::vector<std::int32_t>{config.m_nMaxDisplay, config.m_nWeaponSlots, config.m_nSkills[0],
                                   config.m_bFastSearch, config.m_nCustomSex, config.m_nOwnWeapon}),
        (std::vector<std::int32_t>{100, 104, 121, 126, 130, 134}));
    for (const int skill : {3, 10}) {
        config.PushRecentSkill(0, skill);
    }
    config.PushRecentSkill(1, 40);
    EXPECT_EQ(Saved(config).substr(0, 64),
              Bytes({2, 12, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 3, 10, 1, 40}));
}

} // namespace
