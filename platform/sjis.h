#pragma once

#include <string>
#include <string_view>

namespace platform {

// Shift-JIS (code page 932) to UTF-8. Bytes that do not form a character become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// A name from a file as the user may see it: SjisToUtf8, with every C0 control character and DEL
// also shown as U+FFFD, so that a crafted name cannot move the cursor, retitle or clear a terminal,
// or break a line of a list apart.
std::string SjisToShownText(std::string_view sjis);

// UTF-8 to Shift-JIS. Characters without a code page 932 form, and invalid UTF-8, become '?'.
std::string Utf8ToSjis(std::string_view utf8);

} // namespace platform
