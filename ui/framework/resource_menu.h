#pragma once

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace ui {

// Builds the first submenu of menu resource `menuId`, as a context menu shows it. Every command
// action carries its id as data (QAction::data().toInt()). Null for an unknown menu.
std::unique_ptr<QMenu> LoadPopupMenu(int menuId, QWidget* parent = nullptr);

// The action of command `id` anywhere in `menu` or its submenus, or null.
QAction* FindMenuCommand(QMenu& menu, int id);

} // namespace ui
