#pragma once

// The rule-based fitting gives up on a combination before it places any decoration where the
// points its skills still miss come to more than this many for each free slot. Bounds that stand
// in for that fitting weigh the same test, so they rule out no combination it would accept.
constexpr int kSlotCheckPointsPerSlot = 2;
