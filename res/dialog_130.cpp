#include "res/dialog_130.h"

namespace res {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    // Heading: the icon and the version, set apart from the settings by a line.
    {-1, K::kIcon, "", 10, 8, 21, 20},
    {kIdVersionLabel, K::kStatic, "", 40, 14, 150, 10},
    {-1, K::kEtchedLine, "", 7, 34, 185, 4},

    // The two result limits, labels and edits in one column each.
    {-1, K::kStatic, "最大表示件数", 14, 48, 66, 10},
    {kIdMaxDisplay, K::kEdit, "", 84, 46, 50, 13, kDigitsOnly | kRightAlign, kMaxDisplayDigits},
    {-1, K::kStatic, "最大計算件数", 14, 66, 66, 10},
    {kIdMaxCalc, K::kEdit, "", 84, 64, 50, 13, kDigitsOnly | kRightAlign, kMaxCalcDigits},
    {kIdEarlyData, K::kCheckBox, "ガルヴァ討伐前のデータを使用", 14, 86, 176, 10},

    // Bottom row: the import on its own at the left, the closing buttons at the right.
    {kIdImport, K::kPushButton, "インポート", 7, 112, 54, 14},
    {kIdConfigOk, K::kPushButton, "OK", 84, 112, 52, 14, kDefault},
    {kIdConfigCancel, K::kPushButton, "キャンセル", 140, 112, 52, 14},
};

} // namespace

const DialogTemplate kDialog130 = {kDialogConfig, "コンフィグ", "MS Shell Dlg", 8,
                                   199,           134,          kControls};

} // namespace res
