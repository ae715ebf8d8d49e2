#include "cli/listed_set.h"

#include <cstddef>
#include <string_view>

#include "cli/decimal_counter.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/shown_names.h"

namespace {

// A report line spells the weapon out; the slots go by their short names.
const char kWeaponLabel[] = "武器";

constexpr int kElementCount = 5;

// What a set's JSON holds besides its names and its number (whose copy takes
// DecimalCounter::kDigits bytes, whatever its digits): the field names and punctuation, the names
// of empty pieces and seven numbers of any size.
constexpr std::size_t kJsonSetRoom = 128 + 7 * OutputBuffer::kNumberRoom;
// What a set's block of lines holds besides its names and its number: the labels, the element and
// slot names (a character each), the separators, and seven numbers of any size.
constexpr std::size_t kTextSetRoom = 256 + 7 * OutputBuffer::kNumberRoom;

} // namespace

void AppendSetJson(OutputBuffer& out, const CEquipSet& set, std::size_t index,
                   std::string_view number, int weaponSlots, SetTexts& texts) {
    // A copy, which the bytes written cannot alias.
    const SetTexts::Looked looked = texts.Look(set, index);
    const std::size_t most = kJsonSetRoom + DecimalCounter::kDigits + texts.PiecesRoom() +
                             looked.decorations->json.size() + looked.skills->json.size();
    const SetTotals& totals = looked.totals;
    const int freeSlots = texts.FreeSlots(weaponSlots);
    OutputBuffer::Record record(out, most);
    record.Put("{\"number\":");
    record.PutReadable<DecimalCounter::kDigits>(number);
    record.Put(",\"pieces\":[");
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SetTexts::Name* piece = looked.pieces[slot];
        if (piece == nullptr) {
            record.Put(slot == 0 ? "\"\"" : ",\"\"");
        } else {
            record.Put(piece->listed, slot == 0 ? 1 : 0);
        }
    }
    record.Put(looked.decorations->json);
    record.PutNumber(totals.defense);
    record.Put(",\"resist\":[");
    for (int element = 0; element < kElementCount; ++element) {
        record.Put(element == 0 ? "" : ",");
        record.PutNumber(totals.resist[element]);
    }
    record.Put("],\"freeSlots\":");
    record.PutNumber(freeSlots);
    record.Put(looked.skills->json);
}

// A piece and its decorations are joined with their separator only when neither is empty.
void AppendSetText(OutputBuffer& out, const CEquipSet& set, std::size_t index,
                   std::string_view number, int weaponSlots, SetTexts& texts) {
    const SetTexts::Looked& looked = texts.Look(set, index);
    const std::size_t most = kTextSetRoom + DecimalCounter::kDigits + texts.PiecesRoom() +
                             looked.decorations->bracketsSize + looked.skills->text.size();
    const SetTotals& totals = looked.totals;
    const int freeSlots = texts.FreeSlots(weaponSlots);
    OutputBuffer::Record record(out, most);
    record.Put("No.");
    record.PutReadable<DecimalCounter::kDigits>(number);
    record.Put("  防御 ");
    record.PutNumber(totals.defense);
    record.Put("  耐性 ");
    for (int element = 0; element < kElementCount; ++element) {
        record.Put(element == 0 ? "" : " ");
        record.Put(shown::kElementNames[element]);
        record.PutNumber(totals.resist[element]);
    }
    record.Put("  空き ");
    record.PutNumber(freeSlots);
    record.Put("\n");
    const int positions = weaponSlots != 0 ? kPositionCount : kSlotCount;
    for (int position = 0; position < positions; ++position) {
        const std::string_view piece = position < kSlotCount && looked.pieces[position] != nullptr
                                           ? std::string_view(looked.pieces[position]->text)
                                           : std::string_view();
        const std::string& bracket = looked.decorations->brackets[position];
        record.Put("  ");
        record.Put(position < kSlotCount ? shown::kSlotNames[position] : kWeaponLabel);
        record.Put("  ");
        record.Put(piece);
        record.Put(piece.empty() || bracket.empty() ? "" : "  ");
        record.Put(bracket);
        record.Put("\n");
    }
    record.Put("  スキル  ");
    record.Put(looked.skills->text);
    record.Put("\n");
}
