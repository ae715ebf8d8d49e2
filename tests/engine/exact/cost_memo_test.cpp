#include <gtest/gtest.h>

#include <cstdint>

#include "engine/exact/cost_memo.h"

namespace {

// Keys that differ in one word or the other, so that some share a word and most land apart.
FitMemo::Key KeyOf(std::uint64_t n) {
    return {n % 7 == 0 ? 5 : n, n / 3};
}

} // namespace

// Growing moves every entry with both of its halves; a key never stored stays unknown, and a
// second store for a key replaces its entry rather than adding one.
TEST(CostMemoTest, KeepsCostAndChoiceTogetherAsItGrows) {
    CostMemo memo;
    constexpr std::uint64_t kKeys = 20000;
    for (std::uint64_t n = 0; n < kKeys; ++n) {
        memo.Store(KeyOf(n), {static_cast<std::uint16_t>(1 + n % 5000),
                              static_cast<std::uint16_t>(n % 3 == 0 ? 0 : n % 60000)});
    }
    memo.Store(KeyOf(42), {7, 9});
    for (std::uint64_t n = 0; n < kKeys; ++n) {
        const CostAndChoice entry = memo.Find(KeyOf(n));
        SCOPED_TRACE(n);
        ASSERT_EQ(entry.cost, n == 42 ? 7 : 1 + n % 5000);
        ASSERT_EQ(entry.choice, n == 42 ? 9 : (n % 3 == 0 ? 0 : n % 60000));
    }
    const CostAndChoice unknown = memo.Find(KeyOf(kKeys + 1));
    EXPECT_EQ(unknown.cost, 0);
    EXPECT_EQ(unknown.choice, 0);
}
