#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sets/deco_block.h"
#include "engine/sets/set_blocks.h"
#include "engine/sets/skill_summary.h"
#include "engine/tables/records.h"

// A set's defence and five resistances, found in one pass over its pieces.
struct SetTotals {
    int defense = 0;
    int resist[5] = {};
};

// Defence and resistances added up wide, so that a set of extreme pieces saturates in SetTotals
// instead of wrapping. A caller that keeps a piece's values apart adds them without its record.
struct WideTotals {
    std::int64_t defense = 0;
    std::int64_t resist[5] = {};

    static WideTotals Of(const CEquipData& piece) {
        const int(&r)[5] = piece.resist;
        return {piece.EffectiveDefense(), {r[0], r[1], r[2], r[3], r[4]}};
    }
    // Spelt out: a loop over the six cost more than the additions.
    void Add(const WideTotals& piece) {
        defense += piece.defense;
        resist[0] += piece.resist[0];
        resist[1] += piece.resist[1];
        resist[2] += piece.resist[2];
        resist[3] += piece.resist[3];
        resist[4] += piece.resist[4];
    }
    // In line: a listing saturates the totals of every set it lists.
    SetTotals Saturated() const {
        return {Clamped(defense),
                {Clamped(resist[0]), Clamped(resist[1]), Clamped(resist[2]), Clamped(resist[3]),
                 Clamped(resist[4])}};
    }
    static int Clamped(std::int64_t total) {
        return static_cast<int>(std::clamp<std::int64_t>(total, INT_MIN, INT_MAX));
    }
};

// Five pieces with their decorations and the weapon's decorations: the fixed set of a search,
// every result, and the set shown in detail. Decoration entries are packed from the front.
// The integers sit together ahead of the pointers: a search may hold a million sets.
struct CEquipSet {
    std::int32_t number = 0; // 1-based position in the result list, 0 otherwise
    std::int32_t weaponSlots = 0;
    // Sets of one list with the same tag carry the same decorations: the search gives the sets of
    // a hit's arrangement one, so that a listing tells them alike without comparing them. 0 for
    // none; never saved. AddDeco and FillSet clear it, and so must whoever writes `decos`.
    std::uint32_t decorationsTag = 0;
    CEquipData* pieces[kPositionCount] = {};
    CDecoData* decos[kPositionCount][3] = {};

    // Sets on the heap come from the set blocks: a search may list a million of them.
    static void* operator new(std::size_t size) { return set_blocks::Allocate(size); }
    static void operator delete(void* set, std::size_t size) noexcept {
        set_blocks::Free(set, size);
    }

    void Clear();
    bool IsEmpty() const;
    int TotalDefense() const;
    int TotalResist(int element) const;
    // TotalDefense and each TotalResist at once.
    SetTotals Totals() const;
    int DecoPoints(int position, int id) const;
    int DecoSize(int position) const;
    int FreeSlots(int position) const;
    int FreeSlots(int total, int position) const;
    int FreeArmorSlots() const;
    // Puts the decoration into the first empty entry of the position; false when all three are
    // taken or the decoration has size 0. Free slots are not checked.
    bool AddDeco(int position, CDecoData* deco);
    int Summarize(SkillRowTable& out, const std::vector<CSkillData*>& skills,
                  const CSkillSystems& systems) const;
};

// Makes `set` the set of these pieces with `decos` and a weapon of `weaponSlots` slots, untagged.
void FillSet(CEquipSet& set, CEquipData* const (&pieces)[kSlotCount], const DecoBlock& decos,
             int weaponSlots);
// The decorations `set` carries, by position.
DecoBlock DecorationsOf(const CEquipSet& set);
