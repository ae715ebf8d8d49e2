#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/condition/rank_key.h"
#include "engine/condition/search_condition.h"
#include "engine/search/search_outcome.h"
#include "engine/search/skill_search.h"
#include "engine/sets/equip_set.h"

// Every key a list can be ranked by.
constexpr RankKey kRankKeys[] = {RankKey::kDefense, RankKey::kFreeSlots, RankKey::kFire,
                                 RankKey::kWater,   RankKey::kThunder,   RankKey::kIce,
                                 RankKey::kDragon,  RankKey::kOwned};

std::vector<CEquipSet> Copies(const SearchOutcome& outcome);

// The same pieces and the same decorations in the same places.
bool SameSet(const CEquipSet& a, const CEquipSet& b);

// The unlimited list sorted stably by key and defence, both descending, and cut.
std::vector<CEquipSet> BestOf(std::vector<CEquipSet> sets, RankKey key, const CSearchCondition& c,
                              std::size_t limit);

// `found` refined by `condition`, ranked by `key` and cut at `limit`, as the engine's list.
std::vector<CEquipSet> RefineCopies(CSkillSearch& engine, const std::vector<CEquipSet>& found,
                                    CSearchCondition& condition, RankKey key, std::uint32_t limit);
