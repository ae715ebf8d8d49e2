#include "res/dialog_137.h"

namespace res {
namespace {

using namespace equip_info;
using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kIdName, K::kStatic, "", 7, 6, 119, 10},
    {kIdMaterials, K::kReportList, "", 7, 18, 119, 54, kSingleSel},
    {kIdOk, K::kPushButton, "OK", 41, 78, 50, 14, kDefault},
};

} // namespace

const DialogTemplate kDialog137 = {kDialogEquipInfo, "生産素材", "MS Shell Dlg", 8, 133, 98,
                                   kControls};

} // namespace res
