#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sets/equip_set.h"

// Why the last search or refine ended: it examined everything, or the player aborted it, or the
// list reached "最大表示件数" with more sets to come, or "最大計算件数" cut the examination.
enum class SearchStop { kCompleted, kAborted, kDisplayLimit, kCalcLimit };

// What a search leaves behind: the sets it lists, how many hits and sets it found, and why it
// ended.
struct SearchOutcome {
    // Records what cut the search short. The first reason stays, but an abort tells more than a
    // limit: the player asked for it.
    void NoteStop(SearchStop reason) {
        if (stopReason == SearchStop::kCompleted || reason == SearchStop::kAborted) {
            stopReason = reason;
        }
    }

    std::uint32_t hitCount = 0;
    std::uint64_t setCount = 0;
    SearchStop stopReason = SearchStop::kCompleted;
    std::vector<std::unique_ptr<CEquipSet>> results;
};
