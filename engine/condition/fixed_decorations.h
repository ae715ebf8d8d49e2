#pragma once

#include "engine/condition/search_condition.h"

// The condition's fixed decorations that take part in a search, by position: those of a fixed
// piece (a piece left free carries none) and those of the weapon.
struct FixedDecorations {
    explicit FixedDecorations(const CSearchCondition& condition) {
        for (int position = 0; position < kPositionCount; ++position) {
            if (position < kSlotCount && condition.fixed.pieces[position] == nullptr) {
                continue;
            }
            for (CDecoData* deco : condition.fixed.decos[position]) {
                if (deco != nullptr) {
                    decos[position][count[position]++] = deco;
                }
            }
        }
    }

    bool Any() const {
        for (int n : count) {
            if (n > 0) {
                return true;
            }
        }
        return false;
    }

    CDecoData* decos[kPositionCount][3] = {};
    int count[kPositionCount] = {};
};
