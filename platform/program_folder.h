#pragma once

#include <string>

namespace platform {

// Directory of the running executable, always ending in '/'. Empty when it cannot be determined.
std::string ProgramFolder();

} // namespace platform
