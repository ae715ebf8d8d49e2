#pragma once

#include "res/dialog_template.h"

// The configuration dialog: dialog 130 and its control ids.
namespace res {

constexpr int kDialogConfig = 130;

enum ConfigControl : int {
    kIdConfigOk = 1,
    kIdConfigCancel = 2,
    kIdMaxDisplay = 1060,
    kIdMaxCalc = 1061,
    kIdVersionLabel = 1063,
    kIdEarlyData = 1072,
    kIdImport = 1078,
};

// Longest texts the two limit edits take.
constexpr int kMaxDisplayDigits = 5;
constexpr int kMaxCalcDigits = 7;

extern const DialogTemplate kDialog130;

} // namespace res
