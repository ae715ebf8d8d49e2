#pragma once

#include "engine/tables/records.h"

// Decorations for the six positions (five pieces and the weapon), packed from the front.
struct DecoBlock {
    CDecoData* decos[kPositionCount][3] = {};
};
