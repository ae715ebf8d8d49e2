#include <algorithm>

#include "engine/fitting/rule_fitter.h"

namespace {
// Every step places a decoration, splits one or fails; no sound fitting needs more steps than
// this, and the bound keeps a split that keeps asking for decorations from running on.
constexpr int kPlacementSteps = 12 * 32;
} // namespace

bool DecorationFitter::DecoList::Push(const Entry& entry) {
    if (count == kCapacity) {
        return false;
    }
    items[count++] = entry;
    return true;
}

DecorationFitter::Entry DecorationFitter::DecoList::PopFront() {
    const Entry first = items[0];
    std::copy(items + 1, items + count, items);
    --count;
    return first;
}

bool DecorationFitter::DecoList::RemoveFirstOf(int skill) {
    Entry* end = items + count;
    Entry* found = std::find_if(items, end, [skill](const Entry& e) { return e.skill == skill; });
    if (found == end) {
        return false;
    }
    std::copy(found + 1, end, found);
    --count;
    return true;
}

void DecorationFitter::ClearLists() {
    for (DecoList& list : lists_) {
        list.count = 0;
    }
}

// The lists are empty here, so every open need has to be met by decorations of its own skill that
// are still to be placed: when the fewest slots those take add up to more than are free, choosing
// and placing would fail, and are not tried.
bool DecorationFitter::NormalFit() {
    return FreeSlotsMayHoldNeeds() && ChooseDecorations() && PlaceChosen();
}

bool DecorationFitter::FreeSlotsMayHoldNeeds() const {
    int free = 0;
    for (const SocketHolder& holder : holders_) {
        free += holder.free;
    }
    return SlotsMayHold(need_, free);
}

bool DecorationFitter::SlotsMayHold(const int* need, int free) const {
    int wanted = 0;
    for (int k = 0; k < count_; ++k) {
        if (tracked_[k]) {
            wanted += floors_[k].SlotsFor(need[k]);
        }
    }
    return wanted <= free;
}

// Every pass appends at least one decoration while a need is open, so the passes end: either the
// needs settle or a list overflows, which fails the combination (two skills whose decorations
// take points from each other can otherwise trade needs forever).
bool DecorationFitter::ChooseDecorations() {
    while (AnyNeed()) {
        bool preferTwo = false;
        bool preferOne = false;
        for (int k = 0; k < count_; ++k) {
            if (!tracked_[k]) {
                continue;
            }
            while (need_[k] > 0) {
                if (!ChooseStep(k, preferTwo, preferOne)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool DecorationFitter::ChooseStep(int k, bool& preferTwo, bool& preferOne) {
    const int p1 = Points(k, 1);
    const int p2 = Points(k, 2);
    const int p3 = Points(k, 3);
    if (p3 != 0) {
        if (p2 != 0 && 2 * p3 <= 3 * p2 && 2 * p2 <= need_[k]) {
            if (!Append(k, 2, true) || !Append(k, 2, true)) {
                return false;
            }
            // The pair may already have met the need; nothing more is wanted then.
            if (need_[k] <= 0) {
                return true;
            }
        }
        if (p3 <= need_[k]) {
            return Append(k, 3, true);
        }
    }
    if (p2 != 0 && (p2 <= need_[k] || preferTwo)) {
        preferTwo = false;
        return Append(k, 2, true);
    }
    if (p2 != 0 && p1 < need_[k] && !preferOne) {
        int minus = 0;
        for (int m = 0; m < count_; ++m) {
            minus += table_.decoMinus[k][m][1];
        }
        (minus < 0 ? preferTwo : preferOne) = true;
        return true;
    }
    preferOne = false;
    if (p1 != 0) {
        return Append(k, 1, true);
    }
    // Every decoration left is worth more than the need: take the smallest of them rather than
    // leave the need open (the final recount still decides the combination).
    if (p2 != 0) {
        return Append(k, 2, true);
    }
    return p3 != 0 && Append(k, 3, true);
}

bool DecorationFitter::Append(int k, int size, bool lowersNeed) {
    if (!lists_[size].Push(MakeEntry(k, size))) {
        return false;
    }
    if (lowersNeed) {
        need_[k] -= Points(k, size);
    }
    ApplySideEffects(k, size, 1);
    return true;
}

void DecorationFitter::ApplySideEffects(int k, int size, int factor) {
    for (int m = 0; m < count_; ++m) {
        if (tracked_[m]) {
            need_[m] -= factor * table_.decoMinus[k][m][size];
        }
    }
}

// Sizes 3, then 2, then 1. A decoration appended by a split to a list already worked through is
// placed like any other (or fails the combination), never left out of a set counted as a hit.
bool DecorationFitter::PlaceChosen() {
    for (int step = 0; step < kPlacementSteps; ++step) {
        int size = 3;
        while (size > 0 && lists_[size].count == 0) {
            --size;
        }
        if (size == 0) {
            return true;
        }
        const Entry entry = lists_[size].PopFront();
        const int at = FindHolder(size);
        if (at >= 0) {
            holders_[at].Place(entry.deco);
            freeSlots_ -= size;
            continue;
        }
        if (!CanSplit(entry.skill, size) || !Split(entry)) {
            return false;
        }
        if (freeSlots_ < lists_[1].count) {
            return false;
        }
    }
    return false;
}

// A holder with exactly the room is taken at once; otherwise the tightest one with more room.
int DecorationFitter::FindHolder(int size) const {
    int best = -1;
    for (int at = 0; at < kPositionCount; ++at) {
        const int room = holders_[at].free;
        if (room == size) {
            return at;
        }
        if (room > size && (best < 0 || room < holders_[best].free)) {
            best = at;
        }
    }
    return best;
}

bool DecorationFitter::CanSplit(int k, int size) const {
    if (size == 2) {
        return Points(k, 1) != 0;
    }
    return size == 3 && (Points(k, 1) != 0 || Points(k, 2) != 0);
}

// Replaces a decoration that found no holder by smaller ones worth at least as much. The need of
// its skill was already lowered when it was chosen, so the replacements only add side effects.
// Every other need stays as it was, the surplus of the first skill in cost order included: wiping
// it would let later minus points go unnoticed until the recount.
bool DecorationFitter::Split(const Entry& entry) {
    const int k = entry.skill;
    int total = 0;
    if (entry.size == 3 && Points(k, 2) != 0) {
        int pairs = 1;
        if (lists_[1].RemoveFirstOf(k)) {
            pairs = 2;
            total = -Points(k, 1);
        }
        for (int i = 0; i < pairs; ++i) {
            if (!Append(k, 2, false)) {
                return false;
            }
            total += Points(k, 2);
        }
    }
    // Without a size-1 decoration the rest is made up with size-2 ones.
    const int piece = Points(k, 1) != 0 ? 1 : 2;
    while (total < Points(k, entry.size)) {
        if (!Append(k, piece, false)) {
            return false;
        }
        total += Points(k, piece);
    }
    return ChooseDecorations();
}
