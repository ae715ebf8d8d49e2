#include "ui/search_end.h"

#include "engine/search/stop_reason_text.h"

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
        return StopReasonText(SearchStop::kCompleted, condition);
    case SearchEnd::kAborted:
        return StopReasonText(SearchStop::kAborted, condition);
    case SearchEnd::kDisplayLimit:
        return StopReasonText(SearchStop::kDisplayLimit, condition);
    case SearchEnd::kCalcLimit:
        return StopReasonText(SearchStop::kCalcLimit, condition);
    case SearchEnd::kPartialFile:
        return "途中で打ち切られた検索の結果です";
    case SearchEnd::kRefused:
        return {};
    }
    return {};
}
