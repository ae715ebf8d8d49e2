#pragma once

#include <cstdint>

#include "engine/condition/search_condition.h"
#include "engine/sets/equip_set.h"

// The number of the set's pieces in the owned list of their slot, as the "持" column counts them.
int OwnedPieces(const CEquipSet& set, const CSearchCondition& condition);

// The value a ranked search orders a listed set by.
std::int64_t RankValue(const CEquipSet& set, RankKey key, const CSearchCondition& condition);

// What one piece adds to that value. Free slots count the piece's slots; the decorations take
// theirs off through DecorationRankValue.
std::int64_t PieceRankValue(const CEquipData& piece, RankKey key, bool owned);

// What the weapon and the decorations add: the weapon's slots less every decoration's size for
// free slots, nothing for the other keys.
std::int64_t DecorationRankValue(const DecoBlock& decos, RankKey key, int weaponSlots);

bool IsOwned(const CEquipData* piece, const CSearchCondition& condition);
