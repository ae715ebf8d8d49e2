#pragma once

#include "res/browser_filters.h"

// The owned equipment dialog: dialog 131 and its control ids.
namespace res {

constexpr int kDialogOwn = 131;

namespace own_equip {

using namespace browser;

enum Control : int {
    kIdOwned = 1005,
    kIdClearOwned = 1023,
    kIdOwnedAll = 1031,
    kIdOwnedHead = 1032,
    kIdOwnedBody = 1038,
    kIdOwnedArm = 1039,
    kIdOwnedWaist = 1040,
    kIdOwnedLeg = 1041,
    kIdOwnedDecos = 1042,
    kIdOwnedNameFilter = 1060,
    kIdOwnedSkill = 1062,
    kIdClearOwnedName = 1063,
    kIdOwnedCount = 1075,
    kIdAddAll = 1076,
    kIdAddOwned = 1077,
    kIdCandidateCount = 1078,
    kIdLoadOwned = 1079,
    kIdSaveOwned = 1080,
    kIdAddLoadOwned = 1081,
};

// The category radios "すべて", "頭" … "脚", "装飾品" of the owned list.
constexpr int kOwnedCategoryIds[7] = {kIdOwnedAll,   kIdOwnedHead, kIdOwnedBody, kIdOwnedArm,
                                      kIdOwnedWaist, kIdOwnedLeg,  kIdOwnedDecos};

} // namespace own_equip

extern const DialogTemplate kDialog131;

} // namespace res
