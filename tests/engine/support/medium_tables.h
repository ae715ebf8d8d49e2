#pragma once

#include <random>

#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"

// Replaces the tables with a random set of the size where the skipping layers engage: four to
// eight skill systems, five to twelve pieces a slot with points (minus ones too) in two or three
// systems, doubling pieces, decorations of one or two systems, resistances and defences spread
// widely, owned pieces. The condition chooses three to five levels, sometimes avoiding one, and
// now and then fixes a piece or decorations, excludes a piece or decorations, asks a minimum
// defence, uses only owned pieces or searches fast. At most `mostCombinations` combinations of
// pieces are left to search.
void BuildMediumRandomTables(std::mt19937& random, int mostCombinations, CEquipDatabase& database,
                             CSearchCondition& condition);
