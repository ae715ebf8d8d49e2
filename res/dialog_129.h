#pragma once

#include "res/dialog_template.h"

// The fixed and excluded equipment dialog: dialog 129 and its control ids.
namespace res {

constexpr int kDialogCustomEquip = 129;

namespace custom_equip {

enum Control : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAddFixed = 4,
    kIdAttach = 5,
    kIdClip = 1002,
    kIdCandidates = 1003,
    kIdMale = 1004,
    kIdFemale = 1006,
    kIdBlade = 1007,
    kIdGunner = 1008,
    kIdBothSexes = 1010,
    kIdTotals = 1014,
    kIdClearFixed = 1023,
    kIdClearExcluded = 1024,
    kIdDetach = 1025,
    kIdAllKinds = 1029,
    kIdHead = 1030,
    kIdFixed = 1031,
    kIdArm = 1033,
    kIdBody = 1034,
    kIdWaist = 1035,
    kIdLeg = 1036,
    kIdDecos = 1037,
    kIdAddExcluded = 1038,
    kIdExcluded = 1039,
    kIdExcludedCount = 1040,
    kIdExcludeAll = 1041,
    kIdNameFilter = 1058,
    kIdClearName = 1059,
    kIdSkill = 1061,
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
    kIdBothWeapons = 1085,
};

// The category radios "すべて", "頭" … "脚", "装飾品".
constexpr int kCategoryIds[7] = {kIdAllKinds, kIdHead, kIdBody, kIdArm, kIdWaist, kIdLeg, kIdDecos};

} // namespace custom_equip

extern const DialogTemplate kDialog129;

} // namespace res
