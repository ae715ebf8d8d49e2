#include "platform/prefault.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

namespace platform {

PageSpan WholePagesWithin(const void* memory, std::size_t bytes, std::size_t pageBytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t mask = ~(std::uintptr_t{pageBytes} - 1);
    const std::uintptr_t begin = (start + pageBytes - 1) & mask;
    const std::uintptr_t end = (start + bytes) & mask;
    return begin < end ? PageSpan{begin, end} : PageSpan{begin, begin};
}

namespace {

// Pages looked at in one call, with no allocation: the set store's blocks take one each at the
// smallest page size.
constexpr std::size_t kPagesPerLook = 64;

bool AllBackedFrom(std::uintptr_t begin, std::size_t pages, std::size_t pageBytes) {
    unsigned char backed[kPagesPerLook];
    if (mincore(reinterpret_cast<void*>(begin), pages * pageBytes, backed) != 0) {
        return false;
    }
    return std::all_of(backed, backed + pages, [](unsigned char page) { return page & 1u; });
}

// Asking for pages that are all there already still walks them one by one, which costs more than
// looking whether they are.
bool AllBacked(const PageSpan& pages, std::size_t pageBytes) {
    for (std::uintptr_t at = pages.begin; at < pages.end; at += kPagesPerLook * pageBytes) {
        const std::size_t left = (pages.end - at) / pageBytes;
        if (!AllBackedFrom(at, std::min(left, kPagesPerLook), pageBytes)) {
            return false;
        }
    }
    return true;
}

} // namespace

// Older kernels reject the request; their faults are what happened anyway.
void PrefaultForWriting(void* memory, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    static const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const PageSpan pages = WholePagesWithin(memory, bytes, pageBytes);
    if (pages.begin != pages.end && !AllBacked(pages, pageBytes)) {
        madvise(reinterpret_cast<void*>(pages.begin), pages.end - pages.begin, MADV_POPULATE_WRITE);
    }
#else
    static_cast<void>(memory);
    static_cast<void>(bytes);
#endif
}

} // namespace platform
