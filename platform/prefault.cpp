#include "platform/prefault.h"

#include <algorithm>
#include <vector>

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

// Asking for pages that are all there already still walks them one by one, which costs more than
// looking whether they are.
bool AllBacked(const PageSpan& pages, std::size_t pageBytes) {
    std::vector<unsigned char> backed((pages.end - pages.begin) / pageBytes);
    if (mincore(reinterpret_cast<void*>(pages.begin), pages.end - pages.begin, backed.data()) !=
        0) {
        return false;
    }
    return std::all_of(backed.begin(), backed.end(), [](unsigned char page) { return page & 1u; });
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
