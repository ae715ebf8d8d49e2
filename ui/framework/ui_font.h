#pragma once

#include <QFont>

namespace ui {

// The Japanese UI font standing in for a dialog template's font, at the template's point size
// taken at 96 dots per inch, so that dialog units come out the same on every screen.
QFont DialogFont(const char* templateFontName, int pointSize);

// The family every window uses.
inline constexpr const char* kUiFontFamily = "IPAGothic";

} // namespace ui
