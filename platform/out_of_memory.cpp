#include "platform/out_of_memory.h"

#include <new>
#include <stdexcept>

namespace platform {

bool RunWithinMemory(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return false;
}

} // namespace platform
