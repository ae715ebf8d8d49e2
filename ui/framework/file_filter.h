#pragma once

#include <string>
#include <string_view>

namespace ui {

// Turns a "description|pattern|…||" filter into Qt's "description (patterns);;…" form. Patterns
// separated by ';' become space-separated; a parenthesised pattern list already at the end of a
// description is replaced by the real one, so the shown text and the applied patterns agree.
std::string ConvertFileFilter(std::string_view filter);

} // namespace ui
