#pragma once

#include <functional>

namespace platform {

// Runs `work` and tells whether it finished without running out of memory: an allocation that
// failed (std::bad_alloc) or a container asked to grow past what it can hold (std::length_error)
// ends it early and returns false, after the stack has been unwound and what the work held freed.
// Every other exception passes through.
bool RunWithinMemory(const std::function<void()>& work);

} // namespace platform
