#pragma once

#include <cstdint>

// The fewest slots that one skill's own decorations take to bring a number of points. A fitting
// has to bring every missing point of a skill with that skill's decorations, so it cannot succeed
// when these floors add up to more slots than are free.
class SlotFloor {
public:
    // Slots no number of decorations can make up for: more than a set ever has.
    static constexpr int kUnreachable = 100;

    // `pointsBySize[s]` is what the skill's size-s decoration brings (0: none), s = 1..3.
    void Build(const int* pointsBySize);
    int SlotsFor(int points) const;

private:
    // Needs above this share its floor: a floor only grows with the need, so it stays a floor.
    static constexpr int kLargestNeed = 63;
    std::uint8_t slots_[kLargestNeed + 1] = {};
};
