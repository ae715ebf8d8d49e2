#pragma once

#include <random>

#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"

// Replaces the tables with a small random set (three skill systems, a few decorations with minus
// points, one to four pieces a slot of any rarity or one out of range, sometimes a body-doubling
// piece, one for a single weapon class or sex, or points no key holds) and fills the condition with
// one to three chosen levels, sometimes an avoided one, a fixed piece, an excluded one, a rarity
// left out, weapon slots, a minimum defence, fast search and no doubling pieces.
void BuildRandomTables(std::mt19937& random, CEquipDatabase& database, CSearchCondition& condition);

// The same with `systems` skill systems (at most kMaxChosenSkills) and at least six chosen
// levels, lower thresholds and fewer minus points on pieces, so that sets can still meet them all.
void BuildWideRandomTables(std::mt19937& random, int systems, CEquipDatabase& database,
                           CSearchCondition& condition);
