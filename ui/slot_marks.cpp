#include "ui/slot_marks.h"

#include <algorithm>

namespace {

constexpr char kUsed[] = "\x81\x9F";   // ◆
constexpr char kFree[] = "\x81\x9B";   // ○
constexpr char kAbsent[] = "\x81\x7C"; // －

} // namespace

std::string SlotMarks(int slots, int freeSlots) {
    const int total = std::clamp(slots, 0, 3);
    const int free = std::clamp(freeSlots, 0, total);
    std::string marks;
    for (int i = 0; i < 3; ++i) {
        marks += i < total - free ? kUsed : i < total ? kFree : kAbsent;
    }
    return marks;
}
