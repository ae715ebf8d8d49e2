#pragma once

#include "res/dialog_template.h"

// The main window: dialog 102 and its control ids.
namespace res {

constexpr int kDialogMain = 102;
constexpr int kIconMain = 128;

enum MainControl : int {
    kIdSearch = 1001,
    kIdClip = 1002,
    kIdSetEquip = 1003,
    kIdConfig = 1004,
    kIdFemale = 1005,
    kIdBlade = 1006,
    kIdGunner = 1007,
    kIdSkillList = 1008,
    kIdChosenSkills = 1009,
    kIdProgressBar = 1010,
    kIdProgressText = 1011,
    kIdResult = 1012,
    kIdResultCount = 1013,
    kIdSetSkills = 1014,
    kIdElapsed = 1015,
    kIdWeaponSlot0 = 1016,
    kIdWeaponSlot1 = 1017,
    kIdWeaponSlot2 = 1018,
    kIdWeaponSlot3 = 1019,
    kIdCategory = 1021,
    kIdClearSkills = 1023,
    kIdMinDefenceValue = 1025,
    kIdMinDefence = 1026,
    kIdEditCustom = 1027,
    kIdUseExclude = 1043,
    kIdUseFixed = 1044,
    kIdRefine = 1046,
    kIdOwnedOnly = 1058,
    kIdMale = 1057,
    kIdSaveAll = 1062,
    kIdLoad = 1063,
    kIdSaveFixed = 1064,
    kIdFastSearch = 1072,
    kIdNoBodyDoubling = 1073,
    kIdEditOwn = 1077,
    kIdExactFitting = 1090,
    kIdTempListStatus = 1091,
    kIdTempLists = 1092,
    kIdExtraSkills = 1093,
    kIdSetExtras = 1094,
    kIdRankKey = 1095,
};

// Rarity buttons "0" to "10", in rarity order.
constexpr int kRarityButtonIds[11] = {1056, 1045, 1047, 1048, 1049, 1050,
                                      1051, 1052, 1053, 1054, 1055};

// Weapon-slot radios "0" to "3", in slot-count order.
constexpr int kWeaponSlotIds[4] = {kIdWeaponSlot0, kIdWeaponSlot1, kIdWeaponSlot2, kIdWeaponSlot3};

extern const DialogTemplate kDialog102;

} // namespace res
