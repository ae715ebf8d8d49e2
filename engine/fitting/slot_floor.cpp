#include "engine/fitting/slot_floor.h"

#include <algorithm>

// Fewest slots for n points: the cheapest last decoration on top of the fewest for the rest.
void SlotFloor::Build(const int* pointsBySize) {
    slots_[0] = 0;
    for (int need = 1; need <= kLargestNeed; ++need) {
        int best = kUnreachable;
        for (int size = 1; size <= 3; ++size) {
            const int points = pointsBySize[size];
            if (points > 0) {
                best = std::min(best, size + slots_[std::max(need - points, 0)]);
            }
        }
        slots_[need] = static_cast<std::uint8_t>(std::min(best, int{kUnreachable}));
    }
}

int SlotFloor::SlotsFor(int points) const {
    return points <= 0 ? 0 : slots_[std::min(points, kLargestNeed)];
}
