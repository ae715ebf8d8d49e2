#include "engine/search/stop_reason_text.h"

std::string StopReasonText(SearchStop reason, const CSearchCondition& condition) {
    switch (reason) {
    case SearchStop::kCompleted:
        return "終了";
    case SearchStop::kAborted:
        return "中断されました";
    case SearchStop::kDisplayLimit:
        return "最大表示件数(" + std::to_string(condition.maxDisplay) + "件)で打ち切りました";
    case SearchStop::kCalcLimit:
        return "最大計算件数(" + std::to_string(condition.maxCalc) + "件)で打ち切りました";
    }
    return {};
}
