#include "engine/search/visiting_order.h"

#include <algorithm>

#include "engine/condition/group_key.h"

namespace {

struct Run {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    std::int64_t value = 0;
    std::int64_t defense = 0;
};

} // namespace

std::vector<std::uint32_t> BestRunsFirst(const GroupList& groups, const RankBound& bound,
                                         int level) {
    std::vector<Run> runs;
    for (std::uint32_t i = 0; i < groups.size(); ++i) {
        const std::int64_t value = bound.GroupValue(level, i);
        if (runs.empty() || !AreEquivalent(groups[runs.back().first].key, groups[i].key)) {
            runs.push_back(Run{i, i + 1, value, groups[i].bestDefense});
            continue;
        }
        Run& run = runs.back();
        run.end = i + 1;
        run.value = std::max(run.value, value);
        run.defense = std::max<std::int64_t>(run.defense, groups[i].bestDefense);
    }
    std::stable_sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return a.value != b.value ? a.value > b.value : a.defense > b.defense;
    });
    std::vector<std::uint32_t> order;
    order.reserve(groups.size());
    for (const Run& run : runs) {
        for (std::uint32_t i = run.first; i < run.end; ++i) {
            order.push_back(i);
        }
    }
    return order;
}
