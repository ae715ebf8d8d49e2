#include "res/dialog_137.h"

namespace res {
namespace {

using namespace equip_info;
using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kIdName, K::kStatic, "", 5, 5, 123, 10},
    {kIdMaterials, K::kReportList, "", 4, 17, 125, 74, kSingleSel},
    {kIdOk, K::kPushButton, "OK", 41, 95, 50, 14, kDefault},
};

} // namespace

const DialogTemplate kDialog137 = {kDialogEquipInfo, "生産素材", "MS Shell Dlg", 8, 133, 113,
                                   kControls};

} // namespace res
