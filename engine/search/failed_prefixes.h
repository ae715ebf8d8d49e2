#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// What the bound ruled out at one level, as the values it weighed each prefix by: a bound that
// only grows with every value rules out any prefix that brings no more than a ruled-out one in
// anything, without weighing it again. Prefixes of different groups often come out so: a weaker
// body under another head, an arm that adds nothing the stronger one did not.
class FailedPrefixes {
public:
    // `capacity` prefixes of `width` values each are kept.
    void Reset(int width, int capacity);
    bool Keeps() const { return capacity_ > 0; }
    // Whether some prefix kept brings at least `values` in every one.
    bool Covers(const std::int64_t* values) const;
    // Keeps `values` in place of the first kept one they cover, or else of the oldest.
    void Add(const std::int64_t* values);

private:
    static bool AtLeast(const std::int64_t* kept, const std::int64_t* values, int width);
    std::int64_t* Entry(int n) { return kept_.data() + static_cast<std::ptrdiff_t>(n) * width_; }
    const std::int64_t* Entry(int n) const {
        return kept_.data() + static_cast<std::ptrdiff_t>(n) * width_;
    }

    int width_ = 0;
    int capacity_ = 0;
    int count_ = 0;
    int oldest_ = 0; // once all are in use
    std::vector<std::int64_t> kept_;
};
