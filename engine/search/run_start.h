#pragma once

#include "engine/condition/chosen_skill_table.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "platform/message_sink.h"

// The start a search and a refine share: no abort pending, nothing stopped yet, and the table of
// the chosen skills. False, with the reason told to `sink` (when given), when the condition
// cannot be searched; the outcome's sets are then untouched.
bool StartRun(const CSearchCondition& condition, const CEquipDatabase& database,
              SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink,
              SkillTable& table);
