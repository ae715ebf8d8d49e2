#pragma once

#include <string>
#include <string_view>

namespace platform {

// Shift-JIS (code page 932) to UTF-8. Bytes that do not form a character become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// UTF-8 to Shift-JIS. Characters without a code page 932 form, and invalid UTF-8, become '?'.
std::string Utf8ToSjis(std::string_view utf8);

} // namespace platform
