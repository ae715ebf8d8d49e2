#include "engine/support/ranked_reference.h"

#include <algorithm>
#include <memory>

#include "engine/search/rank_value.h"

std::vector<CEquipSet> Copies(const SearchOutcome& outcome) {
    std::vector<CEquipSet> sets;
    for (const auto& set : outcome.results) {
        sets.push_back(*set);
    }
    return sets;
}

bool SameSet(const CEquipSet& a, const CEquipSet& b) {
    return std::equal(a.pieces, a.pieces + kPositionCount, b.pieces) &&
           std::equal(&a.decos[0][0], &a.decos[0][0] + kPositionCount * 3, &b.decos[0][0]);
}

std::vector<CEquipSet> BestOf(std::vector<CEquipSet> sets, RankKey key, const CSearchCondition& c,
                              std::size_t limit) {
    std::stable_sort(sets.begin(), sets.end(), [&](const CEquipSet& a, const CEquipSet& b) {
        const auto ka = RankValue(a, key, c);
        const auto kb = RankValue(b, key, c);
        return ka != kb ? ka > kb : a.TotalDefense() > b.TotalDefense();
    });
    sets.resize(std::min(limit, sets.size()));
    return sets;
}

std::vector<CEquipSet> RefineCopies(CSkillSearch& engine, const std::vector<CEquipSet>& found,
                                    CSearchCondition& condition, RankKey key, std::uint32_t limit) {
    engine.results.clear();
    for (const CEquipSet& set : found) {
        engine.results.push_back(std::make_unique<CEquipSet>(set));
    }
    condition.rankKey = key;
    condition.maxDisplay = limit;
    engine.RefineSearch(condition);
    return Copies(engine);
}
