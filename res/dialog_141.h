#pragma once

#include "res/dialog_template.h"

// The additional-skill list: dialog 141 and its control ids.
namespace res {

constexpr int kDialogExtraSkills = 141;

namespace extra_skills {

enum Control : int {
    kIdOk = 1,
    kIdCount = 1095,
    kIdSkills = 1096,
    kIdHint = 1097,
};

} // namespace extra_skills

extern const DialogTemplate kDialog141;

} // namespace res
