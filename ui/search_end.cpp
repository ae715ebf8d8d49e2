#include "ui/search_end.h"

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
        return "終了";
    case SearchEnd::kAborted:
        return "中断されました";
    case SearchEnd::kDisplayLimit:
        return "最大表示件数(" + std::to_string(condition.maxDisplay) + "件)で打ち切りました";
    case SearchEnd::kCalcLimit:
        return "最大計算件数(" + std::to_string(condition.maxCalc) + "件)で打ち切りました";
    case SearchEnd::kPartialFile:
        return "途中で打ち切られた検索の結果です";
    case SearchEnd::kRefused:
        return {};
    }
    return {};
}
