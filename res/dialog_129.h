#pragma once

#include "res/browser_filters.h"

// The fixed and excluded equipment dialog: dialog 129 and its control ids.
namespace res {

constexpr int kDialogCustomEquip = 129;

namespace custom_equip {

using namespace browser;

enum Control : int {
    kIdCancel = 2,
    kIdAddFixed = 4,
    kIdAttach = 5,
    kIdClip = 1002,
    kIdTotals = 1014,
    kIdClearFixed = 1023,
    kIdClearExcluded = 1024,
    kIdDetach = 1025,
    kIdFixed = 1031,
    kIdAddExcluded = 1038,
    kIdExcluded = 1039,
    kIdExcludedCount = 1040,
    kIdExcludeAll = 1041,
    kIdRarity = 1062,
    kIdWeaponSlots = 1066,
    kIdLoadFixed = 1067,
    kIdSaveFixed = 1068,
    kIdLoadExcluded = 1069,
    kIdSaveExcluded = 1070,
    kIdLowTier = 1072,
    kIdHighTier = 1073,
    kIdGTier = 1074,
    kIdAddLoadExcluded = 1082,
};

} // namespace custom_equip

extern const DialogTemplate kDialog129;

} // namespace res
