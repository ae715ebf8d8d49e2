#pragma once

#include "res/dialog_template.h"

// The temporary list viewer: dialog 139 and its control ids.
namespace res {

constexpr int kDialogTempList = 139;

namespace temp_list {

enum Control : int {
    kIdOk = 1,
    kIdClearExcluded = 1024,
    kIdFixed = 1031,
    kIdExcluded = 1039,
    kIdExcludedCount = 1040,
    kIdClearFixed = 1086,
};

} // namespace temp_list

extern const DialogTemplate kDialog139;

} // namespace res
