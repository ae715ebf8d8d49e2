#pragma once

#include <string>

#include "engine/condition/search_condition.h"
#include "engine/search/skill_search.h"

// Why a search ended, in the words the window's status line and the CLI both use (UTF-8):
// "終了", "中断されました", or which limit of `condition` cut it.
std::string StopReasonText(SearchStop reason, const CSearchCondition& condition);
