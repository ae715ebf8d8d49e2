#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "platform/prefault.h"

namespace {

constexpr std::size_t kPage = 4096;

std::uintptr_t Bytes(const platform::PageSpan& span) {
    return span.end - span.begin;
}

// Only pages wholly inside the range may be asked for: the ones it shares with its neighbours
// hold memory that is not its own.
TEST(WholePagesWithin, LeavesOutThePagesTheRangeOnlyTouches) {
    const auto* aligned = reinterpret_cast<const void*>(std::uintptr_t{16} * kPage);
    const auto* offset = reinterpret_cast<const void*>(std::uintptr_t{16} * kPage + 16);

    const platform::PageSpan exact = platform::WholePagesWithin(aligned, 4 * kPage, kPage);
    EXPECT_EQ(exact.begin, std::uintptr_t{16} * kPage);
    EXPECT_EQ(Bytes(exact), 4 * kPage);

    const platform::PageSpan shifted = platform::WholePagesWithin(offset, 4 * kPage, kPage);
    EXPECT_EQ(shifted.begin, std::uintptr_t{17} * kPage);
    EXPECT_EQ(Bytes(shifted), 3 * kPage);

    EXPECT_EQ(Bytes(platform::WholePagesWithin(offset, kPage, kPage)), 0u);
    EXPECT_EQ(Bytes(platform::WholePagesWithin(offset, 100, kPage)), 0u);
    EXPECT_EQ(Bytes(platform::WholePagesWithin(aligned, 0, kPage)), 0u);
}

// Backing the pages at once must not lose what was written to them before, wholly inside the
// range or on its edges. The range is looked at in pieces: it spans several, the last one short.
TEST(PrefaultForWriting, KeepsWhatTheMemoryHolds) {
    constexpr std::size_t kBytes = 150 * kPage;
    const auto memory = std::make_unique<unsigned char[]>(kBytes + 2 * kPage);
    unsigned char* range = memory.get() + 100;
    const std::size_t written[] = {0, 1, kPage, 20 * kPage + 7, 100 * kPage, kBytes - 1};
    for (const std::size_t at : written) {
        range[at] = static_cast<unsigned char>(at % 251 + 1);
    }
    platform::PrefaultForWriting(range, kBytes);
    platform::PrefaultForWriting(range, kBytes);
    for (const std::size_t at : written) {
        EXPECT_EQ(range[at], at % 251 + 1) << at;
    }
}

} // namespace
