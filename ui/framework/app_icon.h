#pragma once

#include <QIcon>

namespace ui {

// The application icon (icon resource 128), drawn at the sizes a title bar and a task bar use.
QIcon LoadAppIcon();

} // namespace ui
