#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// The places, in a holder's list of fillings, of those that add to every skill of a mask, in the
// list's order. A step whose rest cannot make up some skills fails every other filling: looking
// only through these spares testing each. The places for a mask are found the first time it is
// asked, and the list is taken only then, as a search that never decides exactly asks none.
class HelpingFillings {
public:
    bool Ready() const { return !built_.empty(); }
    // `helps[i]` has bit k set when filling i adds to skill k.
    void Reset(std::vector<std::uint32_t> helps, int skillCount) {
        helps_ = std::move(helps);
        const std::size_t masks = std::size_t{1} << skillCount;
        places_.assign(masks, {});
        built_.assign(masks, 0);
    }

    const std::vector<std::uint32_t>& Of(std::uint32_t mask) {
        if (built_[mask] == 0) {
            Build(mask);
        }
        return places_[mask];
    }

private:
    void Build(std::uint32_t mask) {
        std::vector<std::uint32_t>& places = places_[mask];
        for (std::size_t i = 0; i < helps_.size(); ++i) {
            if ((helps_[i] & mask) == mask) {
                places.push_back(static_cast<std::uint32_t>(i));
            }
        }
        built_[mask] = 1;
    }

    std::vector<std::uint32_t> helps_;
    std::vector<std::vector<std::uint32_t>> places_;
    std::vector<std::uint8_t> built_;
};
