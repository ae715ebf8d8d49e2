#include "lists/fixed_rows.h"

int FixedRows::RowSlots(int row) const {
    if (row == kWeaponPosition) {
        return weaponSlots;
    }
    return rows[row].piece != nullptr ? rows[row].piece->slots : 0;
}

void ResetFixedRow(FixedRow& row, int slots) {
    for (CDecoData*& deco : row.decos) {
        deco = nullptr;
    }
    row.freeSlots = slots;
}

void SetFixedPiece(FixedRow& row, CEquipData* piece) {
    row.piece = piece;
    ResetFixedRow(row, piece != nullptr ? piece->slots : 0);
}

void ClearFixedRow(FixedRow& row) {
    SetFixedPiece(row, nullptr);
}

// A size of zero or below would fit forever (or even add slots), so such records are refused.
bool AttachDecoration(FixedRow& row, CDecoData* deco) {
    if (deco == nullptr || deco->size <= 0 || row.freeSlots < deco->size) {
        return false;
    }
    for (CDecoData*& place : row.decos) {
        if (place == nullptr) {
            place = deco;
            row.freeSlots -= deco->size;
            return true;
        }
    }
    return false;
}
