#include "ui/framework/ui_font.h"

namespace ui {

QFont DialogFont(const char* /*templateFontName*/, int pointSize) {
    // Every template names a Windows UI font; one Japanese family serves them all. The size is
    // set in pixels (points at 96 dpi, rounded) so that the dialog layout does not depend on the
    // screen's reported resolution.
    QFont font(kUiFontFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize((pointSize * 96 + 36) / 72);
    return font;
}

} // namespace ui
