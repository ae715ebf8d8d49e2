#include "lists/excluded_rows.h"

#include "engine/tables/sjis_text.h"

ExcludedRow MakeExcludedRow(CEquipData* piece) {
    const bool known = piece->kind >= 0 && piece->kind < kSlotCount;
    return ExcludedRow{known ? sjis::kSlotLabels[piece->kind] : sjis::kUnknown, piece, nullptr};
}

ExcludedRow MakeExcludedRow(CDecoData* deco) {
    return ExcludedRow{sjis::kSlotDeco, nullptr, deco};
}

bool IsArmorLabel(std::string_view kindText) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (kindText == sjis::kSlotLabels[slot]) {
            return true;
        }
    }
    return false;
}

bool HoldsRecord(const ExcludedRows& rows, const CEquipData* piece, const CDecoData* deco) {
    for (const ExcludedRow& row : rows) {
        if (row.piece == piece && row.deco == deco) {
            return true;
        }
    }
    return false;
}
