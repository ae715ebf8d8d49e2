#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "engine/sets/equip_set.h"

namespace {

// Enough sets to fill several blocks, freed in an order unlike the one they were made in, some
// of them on another thread than the one that made them: every set keeps what was written into
// it, and (under the address sanitizer) no block is lost or freed twice.
TEST(SetBlocksTest, SetsKeepTheirContentsAcrossBlocksAndThreads) {
    constexpr int kCount = 20000;
    std::vector<std::unique_ptr<CEquipSet>> sets(kCount);
    std::thread maker([&sets] {
        for (int i = 0; i < kCount; i += 2) {
            sets[i] = std::make_unique<CEquipSet>();
            sets[i]->number = i;
        }
    });
    maker.join();
    for (int i = 1; i < kCount; i += 2) {
        sets[i] = std::make_unique<CEquipSet>();
        sets[i]->number = i;
    }
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(sets[i]->number, i);
    }
    for (int i = kCount - 1; i >= 0; i -= 3) {
        sets[i].reset();
    }
    std::thread freer([&sets] { sets.clear(); });
    freer.join();
}

} // namespace
