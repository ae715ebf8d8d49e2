#include "res/dialog_102.h"

namespace res {
namespace {

using K = ControlKind;

// When the window is enlarged the lists take the room: the skill list all of the extra height of
// the left column, the result list half of the right column's and the two detail lists a quarter
// each; the rows under the lists follow them down.
constexpr Resize kSkillListGrows{0, 0, 0, 100};
constexpr Resize kFollowsBottom{0, 0, 100, 0};
constexpr Resize kResultGrows{0, 100, 0, 50};
constexpr Resize kSetEquipGrows{0, 100, 50, 25};
constexpr Resize kSetSkillsGrow{0, 100, 75, 25};
constexpr Resize kBarGrows{0, 100, 100, 0};
constexpr Resize kFollowsCorner{100, 0, 100, 0};

constexpr ControlTemplate kControls[] = {
    // Top row: character, weapon and equipment options in their frames.
    {-1, K::kGroupBox, "", 4, 2, 40, 40},
    {kIdMale, K::kRadioButton, "男", 10, 13, 30, 10, kGroupStart},
    {kIdFemale, K::kRadioButton, "女", 10, 27, 30, 10},
    {-1, K::kGroupBox, "", 48, 2, 54, 40},
    {kIdBlade, K::kRadioButton, "剣士", 54, 13, 44, 10, kGroupStart},
    {kIdGunner, K::kRadioButton, "ガンナー", 54, 27, 44, 10},
    {-1, K::kGroupBox, "武器スロット", 106, 2, 88, 40},
    {kIdWeaponSlot0, K::kRadioButton, "0", 112, 20, 19, 10, kGroupStart},
    {kIdWeaponSlot1, K::kRadioButton, "1", 132, 20, 19, 10},
    {kIdWeaponSlot2, K::kRadioButton, "2", 152, 20, 19, 10},
    {kIdWeaponSlot3, K::kRadioButton, "3", 172, 20, 19, 10},
    {-1, K::kGroupBox, "", 198, 2, 215, 40},
    {kIdUseExclude, K::kCheckBox, "除外装備有効", 204, 13, 61, 10, kGroupStart},
    {kIdUseFixed, K::kCheckBox, "固定装備有効", 266, 13, 61, 10},
    {kIdEditCustom, K::kPushButton, "除外/固定装備 編集", 329, 10, 80, 14},
    {kIdOwnedOnly, K::kCheckBox, "所持品のみ", 204, 27, 61, 10},
    {kIdEditOwn, K::kPushButton, "所持品 編集", 329, 25, 80, 14},
    {-1, K::kGroupBox, "検索除外レア度", 417, 2, 162, 40},
    {1056, K::kCheckBox, "0", 422, 18, 14, 14, kPushLike | kGroupStart},
    {1045, K::kCheckBox, "1", 436, 18, 14, 14, kPushLike},
    {1047, K::kCheckBox, "2", 450, 18, 14, 14, kPushLike},
    {1048, K::kCheckBox, "3", 464, 18, 14, 14, kPushLike},
    {1049, K::kCheckBox, "4", 478, 18, 14, 14, kPushLike},
    {1050, K::kCheckBox, "5", 492, 18, 14, 14, kPushLike},
    {1051, K::kCheckBox, "6", 506, 18, 14, 14, kPushLike},
    {1052, K::kCheckBox, "7", 520, 18, 14, 14, kPushLike},
    {1053, K::kCheckBox, "8", 534, 18, 14, 14, kPushLike},
    {1054, K::kCheckBox, "9", 548, 18, 14, 14, kPushLike},
    {1055, K::kCheckBox, "10", 562, 18, 14, 14, kPushLike},

    // Second row: search options, then the result and configuration buttons.
    {kIdMinDefence, K::kCheckBox, "最低防御力", 6, 48, 52, 10, kGroupStart},
    {kIdMinDefenceValue, K::kEdit, "", 60, 46, 24, 13, kDigitsOnly | kRightAlign | kDisabled, 3},
    {kIdNoBodyDoubling, K::kCheckBox, "胴系倍加除外", 92, 48, 64, 10},
    {kIdFastSearch, K::kCheckBox, "高速検索", 160, 48, 46, 10},
    {kIdExactFitting, K::kCheckBox, "完全検索", 208, 48, 46, 10},
    {kIdRefine, K::kCheckBox, "検索結果から絞込み", 258, 48, 86, 10},
    {kIdLoad, K::kPushButton, "読込", 350, 46, 44, 14},
    {kIdSaveAll, K::kPushButton, "全保存", 396, 46, 44, 14},
    {kIdSaveFixed, K::kPushButton, "固定保存", 442, 46, 44, 14},
    {kIdClip, K::kPushButton, "クリップ", 488, 46, 44, 14},
    {kIdConfig, K::kPushButton, "コンフィグ", 534, 46, 45, 14},

    // Left column: skill selection.
    {kIdCategory, K::kDropDownList, "", 4, 66, 82, 120},
    {kIdSearch, K::kPushButton, "検索", 89, 64, 28, 16, kDefault},
    {kIdExtraSkills, K::kPushButton, "追加スキル検索", 119, 64, 61, 16},
    {kIdSkillList, K::kReportList, "", 4, 84, 176, 138, kSingleSel, 0, kSkillListGrows},
    {kIdClearSkills, K::kPushButton, "全削除", 132, 225, 48, 14, kNone, 0, kFollowsBottom},
    {kIdChosenSkills, K::kReportList, "", 4, 242, 176, 103, kSingleSel | kCheckBoxes, 0,
     kFollowsBottom},

    // Right column: results, the pieces of the selected set and its skills.
    {kIdResult, K::kReportList, "", 184, 64, 395, 100, kOwnerData | kSingleSel | kShowSelAlways, 0,
     kResultGrows},
    {kIdSetEquip, K::kReportList, "", 184, 168, 395, 88, kSingleSel, 0, kSetEquipGrows},
    {kIdSetSkills, K::kReportList, "", 184, 260, 395, 73, kSingleSel, 0, kSetSkillsGrow},
    {kIdSetExtras, K::kStatic, "", 184, 336, 395, 10, kEndEllipsis, 0, kBarGrows},

    // Bottom rows: progress, then the order of the next search's list and the temporary lists
    // that steer it.
    {kIdElapsed, K::kStatic, "", 4, 351, 168, 10, kEndEllipsis, 0, kFollowsBottom},
    {kIdResultCount, K::kStatic, "検索結果 0件", 176, 351, 96, 10, kRightAlign, 0, kFollowsBottom},
    // Wide enough for two counters of 20 digits.
    {kIdProgressText, K::kStatic, "10000/100000 (  0%)", 276, 351, 208, 10, kRightAlign, 0,
     kFollowsBottom},
    {kIdProgressBar, K::kProgressBar, "", 488, 350, 91, 11, kNone, 0, kBarGrows},
    {-1, K::kStatic, "表示順", 4, 367, 30, 10, kNone, 0, kFollowsBottom},
    {kIdRankKey, K::kDropDownList, "", 36, 365, 90, 120, kNone, 0, kFollowsBottom},
    {kIdTempListStatus, K::kStatic, "", 184, 368, 300, 10, kNone, 0, kFollowsBottom},
    {kIdTempLists, K::kPushButton, "一時リスト参照", 509, 365, 70, 14, kDisabled, 0,
     kFollowsCorner},
};

} // namespace

const DialogTemplate kDialog102 = {kDialogMain, "Kestrova", "MS UI Gothic", 9,   583,
                                   383,         kControls,  true,           true};

} // namespace res
