#pragma once

#include "res/dialog_template.h"

// The production materials dialog: dialog 137 and its control ids.
namespace res {

constexpr int kDialogEquipInfo = 137;

namespace equip_info {

enum Control : int {
    kIdOk = 1,
    kIdMaterials = 1083,
    kIdName = 1084,
};

} // namespace equip_info

extern const DialogTemplate kDialog137;

} // namespace res
