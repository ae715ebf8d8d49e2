#pragma once

#include "engine/tables/records.h"

// The names the window and the command line show for the parts of a set, as UTF-8 for their
// captions and reports. The Shift-JIS labels the core compares with data are in sjis_text.h.
namespace shown {

// Indexed by slot, head to leg.
inline constexpr const char* kSlotNames[kSlotCount] = {"頭", "胴", "腕", "腰", "脚"};
// The weapon's short name, beside the slot names in tables of points and slots.
inline constexpr char kWeaponName[] = "武";
// Indexed as a record's resistances: fire, water, thunder, ice, dragon.
inline constexpr const char* kElementNames[5] = {"火", "水", "雷", "氷", "龍"};

} // namespace shown
