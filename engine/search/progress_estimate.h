#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The arithmetic behind the progress the window and the CLI show while a search runs.

// visited × 100 / total without the overflow of the product: counters are 64-bit. 0 for an
// empty total.
std::uint64_t PercentDone(std::uint64_t visited, std::uint64_t total);

// The seconds the rest will take at the pace so far, rounded up past the whole second so that a
// running search never reads 00:00. None while nothing is visited: there is no pace yet.
std::optional<std::uint64_t> RemainingSeconds(std::uint64_t visited, std::uint64_t total,
                                              std::int64_t elapsedMs);

// "MM:SS", with the hours in front ("H:MM:SS") when there are any.
std::string ClockText(std::uint64_t seconds);
