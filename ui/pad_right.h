#pragma once

#include <string>
#include <string_view>

// The text followed by blanks up to `width` bytes; a longer text comes back unchanged, never cut.
// Widths count bytes, so a double-byte Shift-JIS character counts 2.
std::string PadRight(int width, std::string_view text);
