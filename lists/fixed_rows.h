#pragma once

#include <cstdint>

#include "engine/tables/records.h"

// One row of the fixed set as the fixed/excluded dialog holds it. Decorations are packed from the
// first place; `freeSlots` is what is left of the row's slot count.
struct FixedRow {
    CEquipData* piece = nullptr;
    CDecoData* decos[3] = {};
    std::int32_t freeSlots = 0;
};

// The six fixed rows: 0..4 the armour slots head to leg, 5 the weapon, which never holds a piece.
struct FixedRows {
    FixedRow rows[kPositionCount];
    std::int32_t weaponSlots = 0; // the index selected in the weapon-slot box, 0..3

    // The row's own slot count: its piece's slots (0 without one), the weapon's for row 5.
    int RowSlots(int row) const;
};

// Removes the row's decorations and leaves it `slots` free slots; the piece stays.
void ResetFixedRow(FixedRow& row, int slots);
// Makes `piece` the row's piece with every slot free and no decorations.
void SetFixedPiece(FixedRow& row, CEquipData* piece);
// No piece, no decorations, no free slots.
void ClearFixedRow(FixedRow& row);
// Puts the decoration into the row's first empty place when the free slots hold its size. A
// decoration that does not fit, or has no size, leaves the row unchanged and gives false.
bool AttachDecoration(FixedRow& row, CDecoData* deco);
