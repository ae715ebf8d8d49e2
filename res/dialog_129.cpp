#include "res/dialog_129.h"

namespace res {
namespace {

using namespace custom_equip;
using K = ControlKind;

// Enlarged, the candidates take half the extra height and the excluded list and the totals the
// other half; the fixed set keeps its six rows. The right block takes half the extra width.
constexpr Resize kRightBelowCandidates{50, 0, 50, 0};
constexpr Resize kExcludedGrows{0, 50, 50, 50};
constexpr Resize kFixedWidens{50, 50, 50, 0};
constexpr Resize kTotalsGrow{50, 50, 50, 50};

constexpr ControlTemplate kOwnControls[] = {
    // After the shared filters, those of armour and decorations and the skill system.
    {-1, K::kGroupBox, "防具", 316, 2, 54, 46},
    {-1, K::kStatic, "レア度", 322, 14, 42, 10},
    {kIdRarity, K::kDropDownList, "", 322, 27, 42, 120},
    {-1, K::kGroupBox, "装飾品", 374, 2, 84, 46},
    {kIdLowTier, K::kCheckBox, "下位", 380, 20, 24, 14, kPushLike},
    {kIdHighTier, K::kCheckBox, "上位", 405, 20, 24, 14, kPushLike},
    {kIdGTier, K::kCheckBox, "G級", 430, 20, 24, 14, kPushLike},
    {-1, K::kGroupBox, "スキル系統", 462, 2, 74, 46},
    {kIdSkill, K::kDropDownList, "", 468, 21, 62, 200},

    // Candidates and what can be done with the selected one.
    kCandidateList,
    {kIdAddExcluded, K::kPushButton, "除外装備に追加", 4, 206, 70, 14, kNone, 0, kBelowCandidates},
    {kIdExcludeAll, K::kPushButton, "すべてを除外", 78, 206, 62, 14, kNone, 0, kBelowCandidates},
    {kIdAddFixed, K::kPushButton, "固定装備に追加", 248, 206, 70, 14, kNone, 0,
     kRightBelowCandidates},
    {kIdAttach, K::kPushButton, "装着", 322, 206, 40, 14, kDisabled, 0, kRightBelowCandidates},
    {kIdDetach, K::kPushButton, "解除", 366, 206, 40, 14, kDisabled, 0, kRightBelowCandidates},

    // The excluded list.
    {kIdExcludedCount, K::kStatic, "除外装備 0件", 4, 227, 100, 10, kNone, 0, kBelowCandidates},
    {kIdAddLoadExcluded, K::kPushButton, "追加読", 112, 224, 32, 14, kNone, 0, kBelowCandidates},
    {kIdLoadExcluded, K::kPushButton, "読込", 146, 224, 32, 14, kNone, 0, kBelowCandidates},
    {kIdSaveExcluded, K::kPushButton, "保存", 180, 224, 32, 14, kNone, 0, kBelowCandidates},
    {kIdClearExcluded, K::kPushButton, "全削除", 214, 224, 30, 14, kNone, 0, kBelowCandidates},
    {kIdExcluded, K::kReportList, "", 4, 240, 240, 168, kSingleSel | kShowSelAlways, 0,
     kExcludedGrows},

    // The fixed set with its weapon slots, and its skill totals.
    {-1, K::kStatic, "武器スロ", 248, 227, 34, 10, kNone, 0, kRightBelowCandidates},
    {kIdWeaponSlots, K::kDropDownList, "", 284, 224, 30, 100, kNone, 0, kRightBelowCandidates},
    {kIdLoadFixed, K::kPushButton, "読込", 334, 224, 36, 14, kNone, 0, kRightBelowCandidates},
    {kIdSaveFixed, K::kPushButton, "保存", 372, 224, 36, 14, kNone, 0, kRightBelowCandidates},
    {kIdClip, K::kPushButton, "クリップ", 410, 224, 40, 14, kNone, 0, kRightBelowCandidates},
    {kIdClearFixed, K::kPushButton, "全削除", 452, 224, 40, 14, kNone, 0, kRightBelowCandidates},
    // The fixed list shows its six rows under a horizontal scroll bar.
    {kIdFixed, K::kReportList, "", 248, 240, 288, 92, kSingleSel | kShowSelAlways, 0, kFixedWidens},
    {kIdTotals, K::kReportList, "", 248, 336, 288, 72, kSingleSel, 0, kTotalsGrow},

    {kIdOk, K::kPushButton, "OK", 426, 414, 54, 14, kDefault, 0, kCorner},
    {kIdCancel, K::kPushButton, "キャンセル", 482, 414, 54, 14, kNone, 0, kCorner},
};

constexpr auto kControls = JoinControls(browser::kFilterControls, kOwnControls);

} // namespace

const DialogTemplate kDialog129 = {kDialogCustomEquip,
                                   "固定装備・除外装備の設定",
                                   "MS UI Gothic",
                                   9,
                                   540,
                                   432,
                                   kControls,
                                   false,
                                   true};

} // namespace res
