#include "res/menus.h"

#include "res/dialog_template.h"

namespace res {
namespace {

constexpr MenuItemTemplate kSeparator{0, nullptr};

constexpr MenuItemTemplate kResultEquipItems[] = {
    {kCmdAppendExcluded, "除外装備に追加(&E)"},
    kSeparator,
    {kCmdAddTempExcluded, "一時除外リストに追加(&T)"},
    {kCmdAddTempFixed, "一時固定リストに追加(&F)"},
    kSeparator,
    {kCmdShowTempLists, "一時リスト 参照(&T)"},
    kSeparator,
    {kCmdShowMaterials, "生産素材 参照(&C)"},
};

constexpr MenuItemTemplate kResultEquipBar[] = {{-1, "装備", kResultEquipItems}};

constexpr MenuItemTemplate kSortActive[] = {{kCmdSortActiveDesc, "昇順(&A)"},
                                            {kCmdSortActiveAsc, "降順(&D)"}};
constexpr MenuItemTemplate kSortActiveMinus[] = {{kCmdSortActiveMinusDesc, "昇順(&A)"},
                                                 {kCmdSortActiveMinusAsc, "降順(&D)"}};
constexpr MenuItemTemplate kSortMaxInactive[] = {{kCmdSortMaxInactiveDesc, "昇順(&A)"},
                                                 {kCmdSortMaxInactiveAsc, "降順(&D)"}};
constexpr MenuItemTemplate kSortInactive[] = {{kCmdSortInactiveDesc, "昇順(&A)"},
                                              {kCmdSortInactiveAsc, "降順(&D)"}};

constexpr MenuItemTemplate kResultSortItems[] = {
    {-1, "発動スキル数で並び替え(&O)", kSortActive},
    {-1, "発動マイナススキルの数で並び替え(&M)", kSortActiveMinus},
    {-1, "最大未発動スキルのポイントで並び替え(&P)", kSortMaxInactive},
    {-1, "未発動スキルの数で並び替え(&E)", kSortInactive},
};

constexpr MenuItemTemplate kResultSortBar[] = {{-1, "並び替え", kResultSortItems}};

constexpr MenuTemplate kMenus[] = {
    {kMenuResultEquip, kResultEquipBar},
    {kMenuResultSort, kResultSortBar},
};

} // namespace

const MenuTemplate* FindMenu(int id) {
    for (const MenuTemplate& menu : kMenus) {
        if (menu.id == id) {
            return &menu;
        }
    }
    return nullptr;
}

} // namespace res
