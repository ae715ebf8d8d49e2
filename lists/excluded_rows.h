#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/tables/records.h"

// One row of the excluded list as the fixed/excluded dialog holds it: the text of its kind column
// (Shift-JIS "頭", "胴", "腕", "腰", "脚", "不明" or "装") and the record attached to it.
struct ExcludedRow {
    std::string kindText;
    CEquipData* piece = nullptr;
    CDecoData* deco = nullptr;
};

using ExcludedRows = std::vector<ExcludedRow>;

ExcludedRow MakeExcludedRow(CEquipData* piece);
ExcludedRow MakeExcludedRow(CDecoData* deco);

// True for exactly one of the five armour slot labels.
bool IsArmorLabel(std::string_view kindText);

// Whether a row already has this very record attached (pointer identity).
bool HoldsRecord(const ExcludedRows& rows, const CEquipData* piece, const CDecoData* deco);
