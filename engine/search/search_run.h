#pragma once

#include "engine/condition/search_condition.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// A search of the tables: the enumeration of the candidate groups, then the expansion of its
// hits into armour sets. It counts into `progress` and pumps its host, and replaces `outcome`
// with its sets, counters and stop reason. A condition the tables cannot be prepared for is told
// to `sink` (when given) and leaves the outcome empty.
void RunSearch(const CEquipDatabase& database, const CSearchCondition& condition,
               SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink);

// Keeps the sets of `outcome` that meet `condition` with decorations added in their free slots,
// in their order or ranked by the condition's key.
void RunRefine(const CEquipDatabase& database, const CSearchCondition& condition,
               SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink);
