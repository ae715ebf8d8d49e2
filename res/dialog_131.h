#pragma once

#include "res/dialog_template.h"

// The owned equipment dialog: dialog 131 and its control ids.
namespace res {

constexpr int kDialogOwn = 131;

namespace own_equip {

enum Control : int {
    kIdOk = 1,
    kIdCandidates = 1003,
    kIdMale = 1004,
    kIdOwned = 1005,
    kIdFemale = 1006,
    kIdBlade = 1007,
    kIdGunner = 1008,
    kIdBothSexes = 1010,
    kIdClearOwned = 1023,
    kIdAllKinds = 1029,
    kIdHead = 1030,
    kIdOwnedAll = 1031,
    kIdOwnedHead = 1032,
    kIdArm = 1033,
    kIdBody = 1034,
    kIdWaist = 1035,
    kIdLeg = 1036,
    kIdDecos = 1037,
    kIdOwnedBody = 1038,
    kIdOwnedArm = 1039,
    kIdOwnedWaist = 1040,
    kIdOwnedLeg = 1041,
    kIdOwnedDecos = 1042,
    kIdNameFilter = 1058,
    kIdClearName = 1059,
    kIdOwnedNameFilter = 1060,
    kIdSkill = 1061,
    kIdOwnedSkill = 1062,
    kIdClearOwnedName = 1063,
    kIdOwnedCount = 1075,
    kIdAddAll = 1076,
    kIdAddOwned = 1077,
    kIdCandidateCount = 1078,
    kIdLoadOwned = 1079,
    kIdSaveOwned = 1080,
    kIdAddLoadOwned = 1081,
    kIdBothWeapons = 1085,
};

// The category radios "すべて", "頭" … "脚", "装飾品" of the candidates and of the owned list.
constexpr int kCategoryIds[7] = {kIdAllKinds, kIdHead, kIdBody, kIdArm, kIdWaist, kIdLeg, kIdDecos};
constexpr int kOwnedCategoryIds[7] = {kIdOwnedAll,   kIdOwnedHead, kIdOwnedBody, kIdOwnedArm,
                                      kIdOwnedWaist, kIdOwnedLeg,  kIdOwnedDecos};

} // namespace own_equip

extern const DialogTemplate kDialog131;

} // namespace res
