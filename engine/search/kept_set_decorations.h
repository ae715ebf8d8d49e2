#pragma once

#include <memory>
#include <vector>

#include "engine/condition/search_condition.h"
#include "engine/exact/exact_judge.h"
#include "engine/sets/equip_set.h"

// A ranked search of the exact mode whose key the decorations do not change offers its sets
// without decorations: most of them are dropped again for better ones, and arranging is the
// dearest part of listing a set. Only the sets kept are arranged, once the search is over.
bool DefersDecorations(const CSearchCondition& condition);

// Gives each set the decorations its hit would have given it: those of its groups and of the
// profiles of its doubling pieces, found once for all the sets that share them.
void ArrangeKeptSets(ExactJudge& judge, const std::vector<std::unique_ptr<CEquipSet>>& sets);
