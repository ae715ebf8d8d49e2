#include "engine/search/rank_value.h"

#include <algorithm>

bool IsOwned(const CEquipData* piece, const CSearchCondition& condition) {
    if (piece == nullptr || piece->kind < 0 || piece->kind >= kSlotCount) {
        return false;
    }
    const std::vector<CEquipData*>& owned = condition.owned[piece->kind];
    return std::find(owned.begin(), owned.end(), piece) != owned.end();
}

int OwnedPieces(const CEquipSet& set, const CSearchCondition& condition) {
    int count = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        if (piece != nullptr) {
            const std::vector<CEquipData*>& owned = condition.owned[slot];
            count += std::find(owned.begin(), owned.end(), piece) != owned.end() ? 1 : 0;
        }
    }
    return count;
}

std::int64_t RankValue(const CEquipSet& set, RankKey key, const CSearchCondition& condition) {
    switch (key) {
    case RankKey::kNone:
        return 0;
    case RankKey::kDefense:
        return set.TotalDefense();
    case RankKey::kFreeSlots:
        return set.FreeArmorSlots() + set.FreeSlots(condition.weaponSlots, kWeaponPosition);
    case RankKey::kOwned:
        return OwnedPieces(set, condition);
    default:
        return set.TotalResist(ResistElementOf(key));
    }
}

std::int64_t PieceRankValue(const CEquipData& piece, RankKey key, bool owned) {
    switch (key) {
    case RankKey::kNone:
        return 0;
    case RankKey::kDefense:
        return piece.EffectiveDefense();
    case RankKey::kFreeSlots:
        return piece.slots;
    case RankKey::kOwned:
        return owned ? 1 : 0;
    default:
        return piece.resist[ResistElementOf(key)];
    }
}

std::int64_t DecorationRankValue(const DecoBlock& decos, RankKey key, int weaponSlots) {
    if (key != RankKey::kFreeSlots) {
        return 0;
    }
    std::int64_t free = weaponSlots;
    for (const auto& position : decos.decos) {
        for (const CDecoData* deco : position) {
            free -= deco != nullptr ? deco->size : 0;
        }
    }
    return free;
}
