#pragma once

#include <cstddef>
#include <vector>

// The elements of `all` that no other beats, in their order. `beats(a, b, earlier)` says whether
// `a` makes `b` unneeded, `earlier` telling whether `a` comes first: of two equal elements it
// lets the earlier one stay.
template <typename Element, typename Beats>
std::vector<Element> WithoutDominated(const std::vector<Element>& all, Beats beats) {
    std::vector<Element> kept;
    for (std::size_t i = 0; i < all.size(); ++i) {
        bool dominated = false;
        for (std::size_t j = 0; j < all.size() && !dominated; ++j) {
            dominated = i != j && beats(all[j], all[i], j < i);
        }
        if (!dominated) {
            kept.push_back(all[i]);
        }
    }
    return kept;
}
