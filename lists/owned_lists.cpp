#include "lists/owned_lists.h"

#include <algorithm>

namespace {

bool ValidKind(const CEquipData* piece) {
    return piece->kind >= 0 && piece->kind < kSlotCount;
}

} // namespace

bool OwnedLists::Contains(const CEquipData* piece) const {
    if (!ValidKind(piece)) {
        return false;
    }
    const auto& owned = armor[piece->kind];
    return std::find(owned.begin(), owned.end(), piece) != owned.end();
}

bool OwnedLists::Contains(const CDecoData* deco) const {
    return std::find(decos.begin(), decos.end(), deco) != decos.end();
}

bool OwnedLists::Add(CEquipData* piece) {
    if (!ValidKind(piece) || Contains(piece)) {
        return false;
    }
    armor[piece->kind].push_back(piece);
    return true;
}

bool OwnedLists::Add(CDecoData* deco) {
    if (Contains(deco)) {
        return false;
    }
    decos.push_back(deco);
    return true;
}

void OwnedLists::Clear() {
    for (auto& owned : armor) {
        owned.clear();
    }
    decos.clear();
}

std::size_t OwnedLists::TotalCount() const {
    std::size_t total = decos.size();
    for (const auto& owned : armor) {
        total += owned.size();
    }
    return total;
}
