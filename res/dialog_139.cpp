#include "res/dialog_139.h"

namespace res {
namespace {

using namespace temp_list;
using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kIdExcludedCount, K::kStatic, "一時除外装備 0件", 7, 9, 150, 10},
    {kIdClearExcluded, K::kPushButton, "全削除", 241, 6, 50, 14},
    {kIdExcluded, K::kReportList, "", 7, 22, 284, 88, kSingleSel},
    {-1, K::kStatic, "一時固定装備", 7, 119, 150, 10},
    {kIdClearFixed, K::kPushButton, "全削除", 241, 116, 50, 14},
    {kIdFixed, K::kReportList, "", 7, 132, 284, 72, kSingleSel},
    {kIdOk, K::kPushButton, "OK", 241, 210, 50, 14, kDefault},
};

} // namespace

const DialogTemplate kDialog139 = {kDialogTempList, "一時リスト参照", "MS Shell Dlg", 8, 298, 231,
                                   kControls};

} // namespace res
