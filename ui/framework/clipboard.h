#pragma once

#include <string>
#include <string_view>

namespace ui {

// Places Shift-JIS text on the clipboard as plain text (converted to UTF-8, CR LF line ends made
// LF). False when there is no clipboard to place it on.
bool SetClipboardSjisText(std::string_view sjis);

// The clipboard's plain text, UTF-8.
std::string ClipboardText();

} // namespace ui
