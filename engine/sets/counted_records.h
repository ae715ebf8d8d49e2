#pragma once

#include "engine/sets/equip_set.h"

// Calls `give(position, record)` for every piece and decoration whose points count for the set,
// at the position they count for: a body-doubling piece gives the body's points and those of the
// body's decorations once more, at the body; a position's decorations end at its first empty
// place and count only under a piece (the weapon's always). `record` is a `const CEquipData*` or a
// `const CDecoData*`.
template <class Give> void ForEachCountedRecord(const CEquipSet& set, Give&& give) {
    const CEquipData* body = set.pieces[kBody];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        if (piece == nullptr) {
            continue;
        }
        if (!piece->bodyDoubling) {
            give(slot, piece);
            continue;
        }
        if (body == nullptr) {
            continue;
        }
        give(kBody, body);
        for (const CDecoData* deco : set.decos[kBody]) {
            if (deco != nullptr) {
                give(kBody, deco);
            }
        }
    }
    for (int position = 0; position < kPositionCount; ++position) {
        if (position < kSlotCount && set.pieces[position] == nullptr) {
            continue;
        }
        for (const CDecoData* deco : set.decos[position]) {
            if (deco == nullptr) {
                break;
            }
            give(position, deco);
        }
    }
}
