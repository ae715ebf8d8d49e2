#pragma once

#include <string>

// Three Shift-JIS marks describing a piece's slots: "◆" for each used slot, then "○" for each free
// one, then "－" for each of the three the piece lacks. Counts are clamped to 0..3.
std::string SlotMarks(int slots, int freeSlots);
