#include "platform/pump_pacer.h"

#include <algorithm>

namespace platform {

namespace {

// Enough for the clock to cost next to nothing on the quickest pumps, few enough that pumps
// turning slow all at once keep the wait for the next due one short.
constexpr std::uint32_t kMostPumpsBetweenReads = 256;

} // namespace

void PumpPacer::Reckon() {
    const Clock::time_point now = now_();
    const Clock::duration since = now - lastRead_;
    if (since < interval_ / 2) {
        stride_ = std::min(stride_ * 2, kMostPumpsBetweenReads);
    } else if (since > interval_) {
        const auto scaled = static_cast<std::uint64_t>(stride_) * interval_.count() / since.count();
        stride_ = static_cast<std::uint32_t>(std::max<std::uint64_t>(scaled, 1));
    }
    lastRead_ = now;
    countdown_ = stride_;
}

} // namespace platform
