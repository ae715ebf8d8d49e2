#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/numbered_texts.h"
#include "cli/padded_text.h"
#include "engine/sets/active_skills.h"
#include "engine/sets/equip_set.h"
#include "engine/sets/first_use_numbers.h"
#include "engine/tables/records.h"

class CEquipDatabase;

// What listing a set needs of the tables, converted from Shift-JIS and quoted for JSON once:
// every set names the same few pieces, decorations and skills, the sets of one hit share their
// decorations, and a listing holds few distinct lists of skills, so each piece, each decoration
// arrangement and each list of skills is written out the first time it is met and copied from
// then on. The finder numbers them as it meets them, which need not be the order of the listing.
class SetTexts {
public:
    struct Name {
        std::string text;
        PaddedText listed; // a comma, then the name as a JSON string, quoted and escaped

        std::string_view Quoted() const { return listed.View().substr(1); }
    };
    // The readable form's brackets are written only for a readable listing.
    struct Decorations {
        PaddedText json; // the set's array of arrays of names, between the JSON fields around it
        std::string brackets[kPositionCount]; // "[a, b]" for each position; empty for none
        std::size_t bracketsSize = 0;         // of all of them together
        int taken = 0;                        // the slots they take, as the set counts them
    };
    // The activated skills, in the summary's order.
    struct Skills {
        PaddedText json;  // the array of names as the JSON field that ends a set
        std::string text; // the names joined by " / "
    };
    // The texts of one set, and its totals as CEquipSet::Totals gives them.
    struct Looked {
        const Name* pieces[kSlotCount] = {}; // null where the set has no piece
        const Decorations* decorations = nullptr;
        const Skills* skills = nullptr;
        SetTotals totals;
    };

    // The form a listing writes its sets in.
    enum class Form { kJson, kReadable };

    SetTexts(const CEquipDatabase& database, Form form);

    // Finds what every set of the list `sets` is made of and activates before it is listed, the
    // sets of one decoration arrangement together: a ranked list lays them far apart.
    void FindAhead(const std::vector<std::unique_ptr<CEquipSet>>& sets);
    // The texts of `set`, the set at `index` of the list; valid until the next call.
    const Looked& Look(const CEquipSet& set, std::size_t index);
    // The free slots of the set Look was last given, with a weapon of `weaponSlots` (sets loaded
    // from a file do not carry it): those of its pieces and the weapon, less what its
    // decorations take, which is counted once per arrangement.
    int FreeSlots(int weaponSlots) const;
    // Room for the names of any set's pieces, in either form, as far as Look has named them: a
    // bound that needs no pass over the set's names.
    std::size_t PiecesRoom() const { return kSlotCount * longestPiece_; }

private:
    const ActiveSkillFinder::SetNumbers& NumbersOf(const CEquipSet& set, std::size_t index);
    const Name& Decoration(const CDecoData* deco);
    // The piece of `slot` from now on: its name, and its values in the sums while they are
    // narrow, the values it replaces taken out first.
    void LookPiece(int slot, const CEquipData* piece, std::size_t number) {
        const Name* name = nullptr;
        PieceValues values;
        if (piece != nullptr) {
            name = pieces_.Find(number);
            name = name != nullptr ? name : &WritePiece(piece, number);
            values = pieceValues_[number];
        }
        looked_.pieces[slot] = name;
        PieceValues& held = slotValues_[slot];
        if (!wide_) {
            low_ -= held.low;
            high_ -= held.high;
            low_ += values.low;
            high_ += values.high;
        }
        held = values;
    }
    const Name& WritePiece(const CEquipData* piece, std::size_t number);
    const Decorations& DecorationsOf(const CEquipSet& set, std::size_t number) {
        const Decorations* written = decorations_.Find(number);
        return written != nullptr ? *written : WriteDecorations(set, number);
    }
    const Skills& SkillsOf(std::size_t number) {
        const Skills* written = skills_.Find(number);
        return written != nullptr ? *written : WriteSkills(number);
    }
    const Decorations& WriteDecorations(const CEquipSet& set, std::size_t number);
    const Skills& WriteSkills(std::size_t skills);

    ActiveSkillFinder finder_;
    const Form form_;
    // By position in the list; none when each set is found as it is listed.
    std::vector<ActiveSkillFinder::PackedNumbers> ahead_;
    ActiveSkillFinder::SetNumbers aheadNumbers_;
    // The texts of pieces, arrangements and lists of skills by the finder's numbers.
    NumberedTexts<Name> pieces_;
    std::size_t longestPiece_ = 0;
    // What a set sums of each piece, by the same number, read from a few bytes instead of the
    // piece's whole record: its defence and first three resistances, then the last two, its
    // slots and a 0, four at a time.
    using Lanes = std::int32_t __attribute__((vector_size(4 * sizeof(std::int32_t))));
    struct PieceValues {
        Lanes low = {};
        Lanes high = {};
    };
    void Take(const Lanes& low, const Lanes& high);
    // The values of the pieces Look was last given, by slot, and their sums.
    PieceValues slotValues_[kSlotCount];
    Lanes low_ = {};
    Lanes high_ = {};
    void SumWide(const CEquipSet& set);
    std::vector<PieceValues> pieceValues_;
    // Whether some piece named has a value so large that five of them may not add up within an
    // int: then the sums are taken wide and saturated.
    bool wide_ = false;
    int pieceSlots_ = 0; // those of the set Look was last given
    NumberedTexts<Decorations> decorations_;
    FirstUseNumbers<const CDecoData*, AddressHash> decorationNumbers_;
    std::vector<Name> decorationNames_;
    std::vector<Name> skillNames_; // by skill-table row
    NumberedTexts<Skills> skills_;
    Looked looked_;
    std::string joined_;   // the names of a position's decorations being joined
    std::string building_; // the JSON of an arrangement or a list of skills being written
};
