#include "ui/search_end.h"

#include "engine/search/stop_words.h"

SearchEnd JudgeSearchEnd(const CSkillSearch& search) {
    switch (search.stopReason) {
    case SearchStop::kCompleted:
        return SearchEnd::kComplete;
    case SearchStop::kAborted:
        return SearchEnd::kAborted;
    case SearchStop::kDisplayLimit:
        return SearchEnd::kDisplayLimit;
    case SearchStop::kCalcLimit:
        return SearchEnd::kCalcLimit;
    }
    return SearchEnd::kComplete;
}

std::string SearchEndText(SearchEnd end, const CSearchCondition& condition) {
    switch (end) {
    case SearchEnd::kComplete:
        return StopWords(SearchStop::kCompleted, condition);
    case SearchEnd::kAborted:
        return StopWords(SearchStop::kAborted, condition);
    case SearchEnd::kDisplayLimit:
        return StopWords(SearchStop::kDisplayLimit, condition);
    case SearchEnd::kCalcLimit:
        return StopWords(SearchStop::kCalcLimit, condition);
    case SearchEnd::kPartialFile:
        return "途中で打ち切られた検索の結果です";
    case SearchEnd::kRefused:
        return {};
    case SearchEnd::kOutOfMemory:
        return "メモリ不足で中止しました";
    }
    return {};
}
