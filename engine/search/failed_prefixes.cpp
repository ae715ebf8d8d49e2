#include "engine/search/failed_prefixes.h"

#include <algorithm>

void FailedPrefixes::Reset(int width, int capacity) {
    width_ = width;
    capacity_ = capacity;
    count_ = 0;
    oldest_ = 0;
    // Grown as prefixes are ruled out: most searches rule out far fewer than are kept.
    kept_.clear();
}

bool FailedPrefixes::AtLeast(const std::int64_t* kept, const std::int64_t* values, int width) {
    for (int i = 0; i < width; ++i) {
        if (kept[i] < values[i]) {
            return false;
        }
    }
    return true;
}

bool FailedPrefixes::Covers(const std::int64_t* values) const {
    for (int n = 0; n < count_; ++n) {
        if (AtLeast(Entry(n), values, width_)) {
            return true;
        }
    }
    return false;
}

void FailedPrefixes::Add(const std::int64_t* values) {
    if (capacity_ == 0) {
        return;
    }
    int place = -1;
    for (int n = 0; n < count_ && place < 0; ++n) {
        place = AtLeast(values, Entry(n), width_) ? n : -1;
    }
    if (place < 0 && count_ < capacity_) {
        place = count_++;
        kept_.resize(static_cast<std::size_t>(count_) * static_cast<std::size_t>(width_));
    } else if (place < 0) {
        place = oldest_;
        oldest_ = (oldest_ + 1) % capacity_;
    }
    std::copy_n(values, width_, Entry(place));
}
