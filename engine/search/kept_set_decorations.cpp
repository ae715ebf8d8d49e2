#include "engine/search/kept_set_decorations.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "engine/condition/group_key.h"

bool DefersDecorations(const CSearchCondition& condition) {
    return condition.exactFitting && condition.rankKey != RankKey::kNone &&
           condition.rankKey != RankKey::kFreeSlots;
}

namespace {

// The groups of a set, and for each doubling piece its profile: all its arrangement depends on.
using HitOfSet = std::array<GroupKey, 2 * kSlotCount>;

struct HitOfSetHash {
    std::size_t operator()(const HitOfSet& hit) const {
        std::uint64_t hash = 0;
        for (const GroupKey key : hit) {
            hash = (hash ^ key) * 0x9E3779B97F4A7C15ULL;
            hash ^= hash >> 29;
        }
        return static_cast<std::size_t>(hash);
    }
};

} // namespace

void ArrangeKeptSets(ExactJudge& judge, const std::vector<std::unique_ptr<CEquipSet>>& sets) {
    std::unordered_map<HitOfSet, DecoBlock, HitOfSetHash> arranged;
    for (const std::unique_ptr<CEquipSet>& set : sets) {
        SearchHit hit;
        HitVariant variant;
        HitOfSet shared{};
        bool doubling = false;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            hit.keys[slot] = set->pieces[slot]->groupKey;
            shared[slot] = hit.keys[slot];
            if (hit.keys[slot] == kDoublingKey) {
                const int profile = judge.Doubling().IndexOf(slot, *set->pieces[slot]);
                variant.profile[slot] = static_cast<std::uint16_t>(profile);
                shared[kSlotCount + slot] = static_cast<GroupKey>(profile);
                doubling = true;
            }
        }
        auto [entry, isNew] = arranged.try_emplace(shared);
        if (isNew) {
            judge.Arrange(hit, doubling ? &variant : nullptr, entry->second);
        }
        std::copy_n(&entry->second.decos[0][0], kPositionCount * 3, &set->decos[0][0]);
    }
}
