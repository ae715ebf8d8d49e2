#pragma once

#include <random>

#include "engine/tables/equip_database.h"
#include "engine/condition/search_condition.h"

// Replaces the tables with a small random set (three skill systems, a few decorations with minus
// points, one to four pieces a slot of any rarity or one out of range, sometimes a body-doubling
// piece, one for a single weapon class or sex, or points no key holds) and fills the condition with
// one to three chosen levels, sometimes an avoided one, a fixed piece, an excluded one, a rarity
// left out, weapon slots, a minimum defence, fast search and no doubling pieces.
void BuildRandomTables(std::mt19937& random, CEquipDatabase& database, CSearchCondition& condition);
