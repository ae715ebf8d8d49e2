#include "ui/search_end.h"

SearchEnd JudgeSearchEnd(const CSkillSearch& search, const CSearchCondition& condition) {
    if (search.abortRequested) {
        return SearchEnd::kAborted;
    }
    const std::uint64_t listed = search.results.size();
    const std::uint64_t maxDisplay = condition.maxDisplay;
    // Without a minimum defence every set of the found combinations is listed unless the limit
    // stops the listing; with one, some of them may be too weak, so a full list is taken as cut.
    const bool moreSetsThanListed = condition.minDefense != 0 || search.setCount > listed;
    const bool listFull = listed >= maxDisplay && moreSetsThanListed;
    const bool unvisited = search.visited < search.totalCombos;
    const bool displayStoppedExamination =
        search.hitCount >= maxDisplay ||
        (condition.minDefense == 0 && search.setCount >= maxDisplay);
    if (listFull || (unvisited && displayStoppedExamination)) {
        return SearchEnd::kDisplayLimit;
    }
    return unvisited ? SearchEnd::kCalcLimit : SearchEnd::kComplete;
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
