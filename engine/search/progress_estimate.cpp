#include "engine/search/progress_estimate.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>

std::uint64_t PercentDone(std::uint64_t visited, std::uint64_t total) {
    if (total == 0) {
        return 0;
    }
    const std::uint64_t rest = visited % total;
    // rest × 100 fits unless total is near the top of the range; then total is scaled instead.
    const std::uint64_t part = rest <= std::numeric_limits<std::uint64_t>::max() / 100
                                   ? rest * 100 / total
                                   : rest / (total / 100);
    return visited / total * 100 + part;
}

std::optional<std::uint64_t> RemainingSeconds(std::uint64_t visited, std::uint64_t total,
                                              std::int64_t elapsedMs) {
    if (visited == 0) {
        return std::nullopt;
    }
    const double left = total > visited ? static_cast<double>(total - visited) : 0.0;
    const double ms = elapsedMs > 0 ? static_cast<double>(elapsedMs) : 0.0;
    const double seconds = left / static_cast<double>(visited) * ms * 0.001;
    // Beyond this an estimate says no more than "very long", and the cast must not overflow.
    const double limit = static_cast<double>(std::numeric_limits<std::uint32_t>::max());
    return 1 + static_cast<std::uint64_t>(std::min(seconds, limit));
}

std::string ClockText(std::uint64_t seconds) {
    const int minutes = static_cast<int>(seconds / 60 % 60);
    const int rest = static_cast<int>(seconds % 60);
    char text[48];
    if (seconds < 3600) {
        std::snprintf(text, sizeof text, "%02d:%02d", minutes, rest);
    } else {
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02d:%02d", seconds / 3600, minutes, rest);
    }
    return text;
}
