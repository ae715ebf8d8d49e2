#pragma once

#include "res/dialog_template.h"

// The candidate browser that the fixed/excluded and the owned equipment dialogs share: the ids of
// its list and filters, and the filter controls both templates start with.
namespace res::browser {

enum Control : int {
    kIdOk = 1,
    kIdCandidates = 1003,
    kIdMale = 1004,
    kIdFemale = 1006,
    kIdBlade = 1007,
    kIdGunner = 1008,
    kIdBothSexes = 1010,
    kIdAllKinds = 1029,
    kIdHead = 1030,
    kIdArm = 1033,
    kIdBody = 1034,
    kIdWaist = 1035,
    kIdLeg = 1036,
    kIdDecos = 1037,
    kIdNameFilter = 1058,
    kIdClearName = 1059,
    kIdSkill = 1061,
    kIdBothWeapons = 1085,
};

// The category radios "すべて", "頭" … "脚", "装飾品".
constexpr int kCategoryIds[7] = {kIdAllKinds, kIdHead, kIdBody, kIdArm, kIdWaist, kIdLeg, kIdDecos};

// Sex, weapon type, category and name, along the top of the dialog.
inline constexpr ControlTemplate kFilterControls[] = {
    {-1, ControlKind::kGroupBox, "", 4, 2, 40, 46},
    {kIdMale, ControlKind::kRadioButton, "男", 10, 12, 30, 10, kGroupStart},
    {kIdFemale, ControlKind::kRadioButton, "女", 10, 23, 30, 10},
    {kIdBothSexes, ControlKind::kRadioButton, "両方", 10, 34, 30, 10},
    {-1, ControlKind::kGroupBox, "", 48, 2, 54, 46},
    {kIdBlade, ControlKind::kRadioButton, "剣士", 54, 12, 44, 10, kGroupStart},
    {kIdGunner, ControlKind::kRadioButton, "ガンナー", 54, 23, 44, 10},
    {kIdBothWeapons, ControlKind::kRadioButton, "両方", 54, 34, 44, 10},
    {-1, ControlKind::kGroupBox, "", 106, 2, 206, 46},
    {kIdAllKinds, ControlKind::kRadioButton, "すべて", 112, 12, 36, 10, kGroupStart},
    {kIdHead, ControlKind::kRadioButton, "頭", 150, 12, 22, 10},
    {kIdBody, ControlKind::kRadioButton, "胴", 174, 12, 22, 10},
    {kIdArm, ControlKind::kRadioButton, "腕", 198, 12, 22, 10},
    {kIdWaist, ControlKind::kRadioButton, "腰", 222, 12, 22, 10},
    {kIdLeg, ControlKind::kRadioButton, "脚", 246, 12, 22, 10},
    {kIdDecos, ControlKind::kRadioButton, "装飾品", 270, 12, 38, 10},
    {-1, ControlKind::kStatic, "絞込み", 112, 31, 26, 10},
    {kIdNameFilter, ControlKind::kEdit, "", 140, 28, 120, 13},
    {kIdClearName, ControlKind::kPushButton, "解除", 264, 28, 42, 14},
};

// Enlarged, the candidate list takes all the extra width and half the extra height, the controls
// under it move down by that half, and OK keeps to the bottom right corner.
constexpr Resize kCandidatesGrow{0, 100, 0, 50};
constexpr Resize kBelowCandidates{0, 0, 50, 0};
constexpr Resize kCorner{100, 0, 100, 0};

// The candidate list under the filters.
inline constexpr ControlTemplate kCandidateList = {kIdCandidates,
                                                   ControlKind::kReportList,
                                                   "",
                                                   4,
                                                   52,
                                                   532,
                                                   150,
                                                   kOwnerData | kSingleSel | kShowSelAlways,
                                                   0,
                                                   kCandidatesGrow};

} // namespace res::browser
