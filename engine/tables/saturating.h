#pragma once

#include <cstdint>
#include <limits>

// Counts of combinations are products of five group or piece counts, which large tables take
// past 64 bits. A wrapped count would be small and wrong (a limit never reached, a progress bar
// running backwards); a saturated one still says "at least this many".
constexpr std::uint64_t kCountMax = std::numeric_limits<std::uint64_t>::max();

constexpr std::uint64_t SaturatingMul(std::uint64_t a, std::uint64_t b) {
    std::uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? kCountMax : product;
}

constexpr std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    std::uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? kCountMax : sum;
}
