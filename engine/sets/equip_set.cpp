#include "engine/sets/equip_set.h"

#include <algorithm>
#include <cstring>

void CEquipSet::Clear() {
    *this = CEquipSet{};
}

bool CEquipSet::IsEmpty() const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (pieces[slot] != nullptr) {
            return false;
        }
    }
    for (const CDecoData* deco : decos[kWeaponPosition]) {
        if (deco != nullptr) {
            return false;
        }
    }
    return true;
}

// A missing piece contributes nothing rather than being dereferenced. Five table values may not
// add up within an int; the sum saturates instead of wrapping to a wrong sign.
int CEquipSet::TotalDefense() const {
    std::int64_t total = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (pieces[slot] != nullptr) {
            total += pieces[slot]->EffectiveDefense();
        }
    }
    return WideTotals::Clamped(total);
}

int CEquipSet::TotalResist(int element) const {
    std::int64_t total = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (pieces[slot] != nullptr) {
            total += pieces[slot]->resist[element];
        }
    }
    return WideTotals::Clamped(total);
}

// The elements are added one by one: a loop over them cost more than the additions.
SetTotals CEquipSet::Totals() const {
    WideTotals sums;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (pieces[slot] != nullptr) {
            sums.Add(WideTotals::Of(*pieces[slot]));
        }
    }
    return sums.Saturated();
}

int CEquipSet::DecoPoints(int position, int id) const {
    int total = 0;
    for (const CDecoData* deco : decos[position]) {
        if (deco != nullptr) {
            total += deco->PointsFor(id);
        }
    }
    return total;
}

int CEquipSet::DecoSize(int position) const {
    int total = 0;
    for (const CDecoData* deco : decos[position]) {
        if (deco != nullptr) {
            total += deco->size;
        }
    }
    return total;
}

int CEquipSet::FreeSlots(int position) const {
    if (position == kWeaponPosition) {
        return FreeSlots(weaponSlots, position);
    }
    return FreeSlots(pieces[position] != nullptr ? pieces[position]->slots : 0, position);
}

int CEquipSet::FreeSlots(int total, int position) const {
    return total - DecoSize(position);
}

int CEquipSet::FreeArmorSlots() const {
    int total = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        total += FreeSlots(slot);
    }
    return total;
}

bool CEquipSet::AddDeco(int position, CDecoData* deco) {
    if (deco == nullptr || deco->size == 0) {
        return false;
    }
    for (CDecoData*& entry : decos[position]) {
        if (entry == nullptr) {
            entry = deco;
            decorationsTag = 0;
            return true;
        }
    }
    return false;
}

int CEquipSet::Summarize(SkillRowTable& out, const std::vector<CSkillData*>& skills,
                         const CSkillSystems& systems) const {
    return SkillSummary(*this, skills, systems, out);
}

// The two arrays are of one type, copied whole: a pointer into a row may not walk into the next.
static_assert(sizeof(CEquipSet::decos) == sizeof(DecoBlock::decos));

void FillSet(CEquipSet& set, CEquipData* const (&pieces)[kSlotCount], const DecoBlock& decos,
             int weaponSlots) {
    std::copy_n(pieces, kSlotCount, set.pieces);
    std::memcpy(set.decos, decos.decos, sizeof set.decos);
    set.weaponSlots = weaponSlots;
    set.decorationsTag = 0;
}

DecoBlock DecorationsOf(const CEquipSet& set) {
    DecoBlock decos;
    std::memcpy(decos.decos, set.decos, sizeof decos.decos);
    return decos;
}
