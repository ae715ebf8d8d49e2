#pragma once

#include <cstdio>

#include <functional>
#include <vector>

#include "engine/advisor/skill_advisor.h"
#include "engine/search/skill_search.h"

// Prints the engine's results with its counters: a readable table, or the JSON document of
// `--json`. Names are converted from Shift-JIS to UTF-8. `weaponSlots` is the weapon of the search
// (loaded sets do not carry it): it counts in the free slots and decides the weapon line.
// `advice`, given after a search that found nothing, goes into the JSON document; the readable
// form prints it to stderr. `searched`, the condition of the search that found the sets (none for
// sets loaded from a file), adds its fitting, its ranking and why it stopped. Once `stopped` is
// true no further set is listed; the table's totals and the JSON document's end still follow.
void PrintResults(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
                  bool json, const std::vector<SkillAdvice>& advice,
                  const CSearchCondition* searched, const std::function<bool()>& stopped);
