#include "platform/pump_pacer.h"

#include <algorithm>

namespace platform {

namespace {

// Enough for the clock to cost next to nothing on the quickest pumps, few enough that pumps
// turning slow all at once keep the wait for the next reading short: the advice after a search
// pumps ten thousand times slower than the search.
constexpr std::uint32_t kMostPumpsBetweenReads = 32;
// Readings come between an eighth and a quarter of an interval apart.
constexpr int kReadsAtMost = 8;
constexpr int kReadsAtLeast = 4;

} // namespace

bool PumpPacer::Reckon() {
    const Clock::time_point now = now_();
    const Clock::duration since = now - lastRead_;
    const Clock::duration slowest = interval_ / kReadsAtLeast;
    if (since < interval_ / kReadsAtMost) {
        stride_ = std::min(stride_ * 2, kMostPumpsBetweenReads);
    } else if (since > slowest) {
        const auto scaled = static_cast<std::uint64_t>(stride_) * slowest.count() / since.count();
        stride_ = static_cast<std::uint32_t>(std::max<std::uint64_t>(scaled, 1));
    }
    lastRead_ = now;
    countdown_ = stride_;
    if (now - lastDue_ < interval_) {
        return false;
    }
    lastDue_ = now;
    return true;
}

} // namespace platform
