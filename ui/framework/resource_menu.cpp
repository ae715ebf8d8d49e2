#include "ui/framework/resource_menu.h"

#include <QAction>
#include <QMenu>

#include "res/dialog_template.h"

namespace ui {
namespace {

void AddItems(QMenu& menu, std::span<const res::MenuItemTemplate> items) {
    for (const res::MenuItemTemplate& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
        } else if (item.IsSubmenu()) {
            AddItems(*menu.addMenu(QString::fromUtf8(item.caption)), item.children);
        } else {
            menu.addAction(QString::fromUtf8(item.caption))->setData(item.id);
        }
    }
}

} // namespace

std::unique_ptr<QMenu> LoadPopupMenu(int menuId, QWidget* parent) {
    const res::MenuTemplate* menu = res::FindMenu(menuId);
    if (!menu || menu->items.empty()) {
        return nullptr;
    }
    auto popup = std::make_unique<QMenu>(parent);
    AddItems(*popup, menu->items.front().children);
    return popup;
}

QAction* FindMenuCommand(QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = FindMenuCommand(*action->menu(), id)) {
                return found;
            }
        } else if (!action->isSeparator() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

} // namespace ui
