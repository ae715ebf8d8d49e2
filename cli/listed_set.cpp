#include "cli/listed_set.h"

#include <string_view>

#include "engine/sets/equip_set.h"
#include "engine/tables/shown_names.h"

namespace {

// A report line spells the weapon out; the slots go by their short names.
const char kWeaponLabel[] = "武器";

constexpr int kElementCount = 5;

} // namespace

void AppendSetJson(OutputBuffer& out, const CEquipSet& set, long long number, int weaponSlots,
                   SetTexts& texts) {
    const SetTexts::Looked& looked = texts.Look(set);
    out.Append("{\"number\":");
    out.AppendNumber(number);
    out.Append(",\"pieces\":[");
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SetTexts::Name* piece = looked.pieces[slot];
        if (piece == nullptr) {
            out.Append(slot == 0 ? "\"\"" : ",\"\"");
        } else {
            out.Append(slot == 0 ? piece->Quoted() : std::string_view(piece->listed));
        }
    }
    out.Append("],\"decorations\":");
    out.Append(looked.decorations->json);
    const SetTotals totals = set.Totals();
    out.Append(",\"defense\":");
    out.AppendNumber(totals.defense);
    out.Append(",\"resist\":[");
    for (int element = 0; element < kElementCount; ++element) {
        out.Append(element == 0 ? "" : ",");
        out.AppendNumber(totals.resist[element]);
    }
    out.Append("],\"freeSlots\":");
    out.AppendNumber(texts.FreeSlots(set, weaponSlots));
    out.Append(",\"skills\":");
    out.Append(looked.skills->json);
    out.Append("}");
}

// A piece and its decorations are joined with their separator only when neither is empty.
void AppendSetText(OutputBuffer& out, const CEquipSet& set, long long number, int weaponSlots,
                   SetTexts& texts) {
    const SetTexts::Looked& looked = texts.Look(set);
    const SetTotals totals = set.Totals();
    out.Append("No.");
    out.AppendNumber(number);
    out.Append("  防御 ");
    out.AppendNumber(totals.defense);
    out.Append("  耐性 ");
    for (int element = 0; element < kElementCount; ++element) {
        out.Append(element == 0 ? "" : " ");
        out.Append(shown::kElementNames[element]);
        out.AppendNumber(totals.resist[element]);
    }
    out.Append("  空き ");
    out.AppendNumber(texts.FreeSlots(set, weaponSlots));
    out.Append("\n");
    const int positions = weaponSlots != 0 ? kPositionCount : kSlotCount;
    for (int position = 0; position < positions; ++position) {
        const std::string_view piece = position < kSlotCount && looked.pieces[position] != nullptr
                                           ? std::string_view(looked.pieces[position]->text)
                                           : std::string_view();
        const std::string& bracket = looked.decorations->brackets[position];
        out.Append("  ");
        out.Append(position < kSlotCount ? shown::kSlotNames[position] : kWeaponLabel);
        out.Append("  ");
        out.Append(piece);
        out.Append(piece.empty() || bracket.empty() ? "" : "  ");
        out.Append(bracket);
        out.Append("\n");
    }
    out.Append("  スキル  ");
    out.Append(looked.skills->text);
    out.Append("\n");
}
