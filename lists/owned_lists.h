#pragma once

#include <cstddef>
#include <vector>

#include "engine/tables/records.h"

// The owned list as the owned-equipment dialog holds it: one array per armour slot and one of
// decorations, each in order of addition, every record at most once.
struct OwnedLists {
    std::vector<CEquipData*> armor[kSlotCount];
    std::vector<CDecoData*> decos;

    // Membership by pointer identity, in the array of the piece's own kind.
    bool Contains(const CEquipData* piece) const;
    bool Contains(const CDecoData* deco) const;
    // Appends the record unless it is already held; false when it was.
    bool Add(CEquipData* piece);
    bool Add(CDecoData* deco);
    void Clear();
    std::size_t TotalCount() const;
};
