#pragma once

#include <chrono>
#include <cstdint>

namespace ui {

// A monotonic tick counter and its ticks per second, for elapsed-time displays.
inline std::int64_t PerfCounter() {
    return std::chrono::steady_clock::now().time_since_epoch().count();
}
inline std::int64_t PerfFrequency() {
    using Period = std::chrono::steady_clock::period;
    return Period::den / Period::num;
}

} // namespace ui
