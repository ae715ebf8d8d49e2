#pragma once

#include <vector>

#include "tools/screenshot/shots.h"

// Pictures of the equipment dialogs over the bundled tables: the fixed and excluded equipment,
// the owned equipment, the temporary lists and the production materials of a piece.
std::vector<Shot> EquipmentShots();
