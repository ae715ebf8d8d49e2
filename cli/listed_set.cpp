#include "cli/listed_set.h"

#include <string_view>

#include "engine/sets/equip_set.h"
#include "engine/tables/shown_names.h"

namespace {

// A report line spells the weapon out; the slots go by their short names.
const char kWeaponLabel[] = "武器";

constexpr int kElementCount = 5;

// What a set's JSON holds besides its names: the field names and punctuation, the names of
// empty pieces, its number and seven numbers of any size.
constexpr std::size_t kJsonSetRoom = 128 + 7 * OutputBuffer::kNumberRoom;

} // namespace

void AppendSetJson(OutputBuffer& out, const CEquipSet& set, std::string_view number,
                   int weaponSlots, SetTexts& texts) {
    const SetTexts::Looked& looked = texts.Look(set);
    std::size_t most =
        kJsonSetRoom + number.size() + looked.decorations->json.size() + looked.skills->json.size();
    for (const SetTexts::Name* piece : looked.pieces) {
        most += piece != nullptr ? piece->listed.size() : 0;
    }
    const SetTotals totals = set.Totals();
    const int freeSlots = texts.FreeSlots(set, weaponSlots);
    OutputBuffer::Record record(out, most);
    record.Put("{\"number\":");
    record.Put(number);
    record.Put(",\"pieces\":[");
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SetTexts::Name* piece = looked.pieces[slot];
        if (piece == nullptr) {
            record.Put(slot == 0 ? "\"\"" : ",\"\"");
        } else {
            record.Put(slot == 0 ? piece->Quoted() : std::string_view(piece->listed));
        }
    }
    record.Put("],\"decorations\":");
    record.Put(looked.decorations->json);
    record.Put(",\"defense\":");
    record.PutNumber(totals.defense);
    record.Put(",\"resist\":[");
    for (int element = 0; element < kElementCount; ++element) {
        record.Put(element == 0 ? "" : ",");
        record.PutNumber(totals.resist[element]);
    }
    record.Put("],\"freeSlots\":");
    record.PutNumber(freeSlots);
    record.Put(",\"skills\":");
    record.Put(looked.skills->json);
    record.Put("}");
}

// A piece and its decorations are joined with their separator only when neither is empty.
void AppendSetText(OutputBuffer& out, const CEquipSet& set, std::string_view number,
                   int weaponSlots, SetTexts& texts) {
    const SetTexts::Looked& looked = texts.Look(set);
    const SetTotals totals = set.Totals();
    out.Append("No.");
    out.Append(number);
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
