#include "engine/search/stop_words.h"

namespace {

// In RankKey order.
const char* const kRankOrderWords[kRankKeyCount] = {
    "",
    "防御力の高い順",
    "空きスロットの多い順",
    "火耐性の高い順",
    "水耐性の高い順",
    "雷耐性の高い順",
    "氷耐性の高い順",
    "龍耐性の高い順",
    "所持数の多い順",
};

} // namespace

std::string RankOrderWords(RankKey key) {
    return kRankOrderWords[static_cast<int>(key)];
}

std::string StopWords(SearchStop stop, const CSearchCondition& condition) {
    switch (stop) {
    case SearchStop::kCompleted:
        return "終了";
    case SearchStop::kAborted:
        return "中断されました";
    case SearchStop::kDisplayLimit:
        if (condition.rankKey != RankKey::kNone) {
            return RankOrderWords(condition.rankKey) + "に上位" +
                   std::to_string(condition.maxDisplay) + "件を表示（ほかにもあります）";
        }
        return "最大表示件数(" + std::to_string(condition.maxDisplay) + "件)で打ち切りました";
    case SearchStop::kCalcLimit:
        return "最大計算件数(" + std::to_string(condition.maxCalc) + "件)で打ち切りました";
    }
    return {};
}
