#pragma once

#include <cstddef>
#include <string_view>

#include "cli/output_buffer.h"
#include "cli/set_texts.h"

struct CEquipSet;

// One listed set, at `index` of its list and numbered `number` (its digits, as DecimalCounter gives
// them: readable for DecimalCounter::kDigits bytes), in the JSON document's
// form (an object, as the JSON library writes it) or in the readable table's (a block of lines).
// `weaponSlots` counts in the free slots; the readable form shows the weapon's line only for a
// weapon with slots.
void AppendSetJson(OutputBuffer& out, const CEquipSet& set, std::size_t index,
                   std::string_view number, int weaponSlots, SetTexts& texts);
void AppendSetText(OutputBuffer& out, const CEquipSet& set, std::size_t index,
                   std::string_view number, int weaponSlots, SetTexts& texts);
