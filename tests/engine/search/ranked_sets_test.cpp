#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <utility>
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

// Offers `offered` sets, the i-th with the key and defence `valueAt(i)` gives, to a list of
// `kept`: the list keeps the best of them by key and defence in the order offered.
template <class ValueAt>
void ExpectTheStableSortKept(int offered, std::size_t kept, ValueAt valueAt,
                             const std::string& label) {
    std::vector<CEquipData> heads(static_cast<std::size_t>(offered));
    std::vector<std::int64_t> keys(heads.size());
    std::vector<std::int64_t> defenses(heads.size());
    RankedSets ranked(kept);
    for (int i = 0; i < offered; ++i) {
        const auto n = static_cast<std::size_t>(i);
        std::tie(keys[n], defenses[n]) = valueAt(i);
        CEquipData* pieces[kSlotCount] = {&heads[n]};
        ranked.Admit(keys[n], defenses[n], pieces, RankedSets::kNoArrangement, 0);
    }
    std::vector<std::size_t> expected(heads.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
        return keys[a] != keys[b] ? keys[a] > keys[b] : defenses[a] > defenses[b];
    });
    const auto sets = ranked.TakeRanked();
    ASSERT_EQ(sets.size(), kept) << label;
    for (std::size_t n = 0; n < kept; ++n) {
        EXPECT_EQ(sets[n]->pieces[0], &heads[expected[n]]) << "set " << n << ", " << label;
    }
}

// Few keys and defences, with many ties between them, and far more offered than kept: each cut
// keeps the best of the offered by key, defence and order offered, whether it counts the sets by
// key and defence (narrow defences), by key alone (wide ones) or not at all (wide keys).
TEST(RankedSetsTest, CutsKeepTheStableSortOfTheOffered) {
    constexpr int kOffered = 4000;
    constexpr std::size_t kKept = 300;
    struct Spread {
        int keys;
        int defenses;
    };
    for (const Spread spread : {Spread{7, 5}, Spread{7, 100000}, Spread{1 << 30, 3}}) {
        ExpectTheStableSortKept(
            kOffered, kKept,
            [&](int i) {
                return std::pair<std::int64_t, std::int64_t>{(i * 7919LL) % spread.keys,
                                                             (i * 104729LL) % spread.defenses};
            },
            std::to_string(spread.keys) + " keys, " + std::to_string(spread.defenses));
    }
}

// Keys and defences that leave the span of those before again and again, climbing past it, far
// below it before the list is full, or at the ends of the range: the sets kept are still the best
// of the offered in their order.
TEST(RankedSetsTest, SetsOutsideTheKeysHeldSoFarKeepTheStableSort) {
    constexpr int kOffered = 3000;
    constexpr std::size_t kKept = 200;
    constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    using Make = std::int64_t (*)(int);
    struct Drift {
        Make key;
        Make defense;
    };
    const Drift drifts[] = {
        {[](int i) -> std::int64_t { return i / 4; }, [](int i) -> std::int64_t { return i % 9; }},
        {[](int i) -> std::int64_t { return i % 5; },
         [](int i) -> std::int64_t { return 3 * i - 4000; }},
        {[](int i) -> std::int64_t { return i < 150 ? -(std::int64_t{1} << i % 60) : i % 50; },
         [](int i) -> std::int64_t { return i < 150 ? -i : i % 3; }},
        {[](int i) -> std::int64_t { return i % 3 == 0   ? kLeast
                                            : i % 3 == 1 ? kMost
                                                         : i; },
         [](int i) -> std::int64_t { return i % 2 == 0 ? kMost : kLeast; }},
    };
    for (std::size_t d = 0; d < std::size(drifts); ++d) {
        ExpectTheStableSortKept(
            kOffered, kKept,
            [&](int i) {
                return std::pair<std::int64_t, std::int64_t>{drifts[d].key(i),
                                                             drifts[d].defense(i)};
            },
            "drift " + std::to_string(d));
    }
}

} // namespace
