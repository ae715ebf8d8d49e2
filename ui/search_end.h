#pragma once

#include <string>

#include "engine/condition/search_condition.h"
#include "engine/search/skill_search.h"

// How the last search came to its end, as the window tells it: a player who saves the results
// must know whether they are all there is.
enum class SearchEnd {
    kComplete,     // every combination was examined and every set found is listed
    kAborted,      // "中断" stopped it
    kDisplayLimit, // more sets meet the condition than "最大表示件数" lets through
    kCalcLimit,    // "最大計算件数" stopped the examination early
    kPartialFile,  // a result file made by a search that did not examine everything
    kRefused,      // the engine refused the condition and searched nothing
    kOutOfMemory,  // the sets did not fit in memory; none are listed
};

// The end of a finished normal search, as the engine tells why it stopped.
SearchEnd JudgeSearchEnd(const CSkillSearch& search);

// The status text of an end (UTF-8): "終了", "中断されました", or which limit cut the list.
std::string SearchEndText(SearchEnd end, const CSearchCondition& condition);
