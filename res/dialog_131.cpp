#include "res/dialog_131.h"

namespace res {
namespace {

// Enlarged, the candidates and the owned list share the extra height and take all the extra
// width; the counts stay at the right edge.
constexpr Resize kRightBelowCandidates{100, 0, 50, 0};
constexpr Resize kOwnedGrows{0, 100, 50, 50};
constexpr Resize kBottom{0, 0, 100, 0};

using namespace own_equip;
using K = ControlKind;

constexpr ControlTemplate kOwnControls[] = {
    // After the filters of both lists, the candidates' skill system.
    {-1, K::kGroupBox, "スキル系統", 316, 2, 90, 46},
    {kIdSkill, K::kDropDownList, "", 322, 21, 78, 200},

    // Candidates.
    kCandidateList,
    {kIdAddOwned, K::kPushButton, "所有装備に追加", 4, 206, 70, 14, kNone, 0, kBelowCandidates},
    {kIdAddAll, K::kPushButton, "すべてを追加", 78, 206, 62, 14, kNone, 0, kBelowCandidates},
    {kIdCandidateCount, K::kStatic, "0件", 436, 209, 100, 10, kRightAlign, 0,
     kRightBelowCandidates},

    // The owned list with its own filters.
    {-1, K::kStatic, "所持装備", 4, 229, 40, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedAll, K::kRadioButton, "すべて", 46, 229, 36, 10, kGroupStart, 0, kBelowCandidates},
    {kIdOwnedHead, K::kRadioButton, "頭", 84, 229, 22, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedBody, K::kRadioButton, "胴", 108, 229, 22, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedArm, K::kRadioButton, "腕", 132, 229, 22, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedWaist, K::kRadioButton, "腰", 156, 229, 22, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedLeg, K::kRadioButton, "脚", 180, 229, 22, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedDecos, K::kRadioButton, "装飾品", 204, 229, 38, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedSkill, K::kDropDownList, "", 246, 226, 78, 200, kNone, 0, kBelowCandidates},
    {-1, K::kStatic, "絞込み", 330, 229, 26, 10, kNone, 0, kBelowCandidates},
    {kIdOwnedNameFilter, K::kEdit, "", 358, 226, 90, 13, kNone, 0, kBelowCandidates},
    {kIdClearOwnedName, K::kPushButton, "解除", 452, 226, 36, 14, kNone, 0, kBelowCandidates},
    {kIdOwnedCount, K::kStatic, "0件", 490, 229, 46, 10, kRightAlign, 0, kRightBelowCandidates},
    {kIdOwned, K::kReportList, "", 4, 244, 532, 148, kOwnerData | kSingleSel | kShowSelAlways, 0,
     kOwnedGrows},

    {kIdAddLoadOwned, K::kPushButton, "追加読", 4, 396, 36, 14, kNone, 0, kBottom},
    {kIdLoadOwned, K::kPushButton, "読込", 42, 396, 36, 14, kNone, 0, kBottom},
    {kIdSaveOwned, K::kPushButton, "保存", 80, 396, 36, 14, kNone, 0, kBottom},
    {kIdClearOwned, K::kPushButton, "全削除", 118, 396, 36, 14, kNone, 0, kBottom},
    {kIdOk, K::kPushButton, "OK", 482, 396, 54, 14, kDefault, 0, kCorner},
};

constexpr auto kControls = JoinControls(browser::kFilterControls, kOwnControls);

} // namespace

const DialogTemplate kDialog131 = {kDialogOwn, "所有装備の設定", "MS UI Gothic", 9,   540,
                                   414,        kControls,        false,          true};

} // namespace res
