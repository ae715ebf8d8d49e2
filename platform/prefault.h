#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The whole pages of the system that lie inside a range of memory; empty (begin == end) when
// the range holds none.
struct PageSpan {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};
PageSpan WholePagesWithin(const void* memory, std::size_t bytes, std::size_t pageBytes);

// Asks the system to back the whole pages of writable memory just obtained with pages at once,
// in one call, instead of one fault at a time as each is first written. Pages already backed
// are left as they are, and so is everything when the system cannot do it: it only saves time.
void PrefaultForWriting(void* memory, std::size_t bytes);

} // namespace platform
