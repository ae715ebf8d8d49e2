#pragma once

// Command ids of the context menus.
namespace res {

constexpr int kMenuResultEquip = 138;
constexpr int kMenuResultSort = 140;

// Menu 138: the armour rows of the set-equipment list.
constexpr int kCmdAppendExcluded = 32781;
constexpr int kCmdAddTempExcluded = 32773;
constexpr int kCmdAddTempFixed = 32774;
constexpr int kCmdShowTempLists = 32779;
constexpr int kCmdShowMaterials = 32776;

// Menu 140: sorting of the result list by skill statistics ("昇順" puts the largest first).
constexpr int kCmdSortActiveDesc = 32794;
constexpr int kCmdSortActiveAsc = 32795;
constexpr int kCmdSortActiveMinusDesc = 32803;
constexpr int kCmdSortActiveMinusAsc = 32804;
constexpr int kCmdSortMaxInactiveDesc = 32798;
constexpr int kCmdSortMaxInactiveAsc = 32799;
constexpr int kCmdSortInactiveDesc = 32796;
constexpr int kCmdSortInactiveAsc = 32797;

} // namespace res
