#pragma once

#include "engine/condition/search_condition.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "engine/tables/equip_database.h"

// The rule-based search in the order found as it is without any bound: every combination the
// equivalence skips and the defence leave is judged by the fitting, and the hits expanded. What
// the engine lists and counts with its bounds must come out the same.
void RunPlainSearch(const CEquipDatabase& database, const CSearchCondition& condition,
                    SearchProgress& progress, SearchOutcome& outcome);
