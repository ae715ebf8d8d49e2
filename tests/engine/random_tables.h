#pragma once

#include <random>

#include "engine/equip_database.h"
#include "engine/search_condition.h"

// Replaces the tables with a small random set (three skill systems, a few decorations with minus
// points, one to four pieces a slot, sometimes a body-doubling piece) and fills the condition
// with one to three chosen levels, sometimes an avoided one, a fixed piece, weapon slots, a
// minimum defence and fast search.
void BuildRandomTables(std::mt19937& random, CEquipDatabase& database, CSearchCondition& condition);
