#pragma once

#include <string>

#include "engine/condition/search_condition.h"
#include "engine/search/search_outcome.h"

// Why a search stopped, in the words the window's status and the CLI's last line give the player
// (UTF-8): "終了", "中断されました", or which limit cut the list. A ranked list cut by the display
// limit says that it holds the best sets and that more exist.
std::string StopWords(SearchStop stop, const CSearchCondition& condition);

// "防御力の高い順" and the like: the order a ranked list is in; empty for RankKey::kNone.
std::string RankOrderWords(RankKey key);
