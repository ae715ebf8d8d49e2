#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/ranked_sets.h"

namespace {

// Many more arrangements than the list keeps, most of them cut out again: those given back leave
// each kept set with the decorations it was let in with, in the ranked order.
TEST(RankedSetsTest, ArrangementsGivenBackLeaveTheKeptSetsTheirOwn) {
    constexpr int kOffered = 5000;
    constexpr std::size_t kKept = 3;
    std::vector<CEquipData> heads(kOffered);
    std::vector<CDecoData> decorations(kOffered);
    RankedSets ranked(kKept);
    std::vector<int> keys;
    for (int i = 0; i < kOffered; ++i) {
        DecoBlock decos;
        decos.decos[kWeaponPosition][0] = &decorations[static_cast<std::size_t>(i)];
        CEquipData* pieces[kSlotCount] = {&heads[static_cast<std::size_t>(i)]};
        const int key = (i * 7919) % 1009;
        keys.push_back(key);
        ranked.Admit(key, 0, pieces, ranked.KeepArrangement(decos), 1);
        ranked.ForgetDroppedArrangements();
    }
    const auto sets = ranked.TakeRanked();
    std::sort(keys.begin(), keys.end(), std::greater<>());
    ASSERT_EQ(sets.size(), kKept);
    for (std::size_t n = 0; n < kKept; ++n) {
        const auto index = static_cast<std::size_t>(sets[n]->pieces[0] - heads.data());
        EXPECT_EQ(sets[n]->decos[kWeaponPosition][0], &decorations[index]) << "set " << n;
        EXPECT_EQ((static_cast<int>(index) * 7919) % 1009, keys[n]) << "set " << n;
    }
}

} // namespace
