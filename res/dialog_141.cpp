#include "res/dialog_141.h"

namespace res {
namespace {

using namespace extra_skills;
using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kIdCount, K::kStatic, "", 7, 7, 200, 10},
    {kIdSkills,
     K::kReportList,
     "",
     7,
     20,
     200,
     150,
     kSingleSel | kShowSelAlways,
     0,
     {0, 100, 0, 100}},
    {kIdHint,
     K::kStatic,
     "ダブルクリックで選択スキルに追加",
     7,
     176,
     140,
     10,
     kNone,
     0,
     {0, 0, 100, 0}},
    {kIdOk, K::kPushButton, "閉じる", 157, 174, 50, 14, kDefault, 0, {100, 0, 100, 0}},
};

} // namespace

const DialogTemplate kDialog141 = {
    kDialogExtraSkills, "追加スキル検索", "MS Shell Dlg", 8, 214, 194, kControls, false, true};

} // namespace res
