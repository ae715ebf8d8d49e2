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

// The profile of a doubling piece, looked up once per piece: the kept sets share few pieces.
class ProfileIndices {
public:
    explicit ProfileIndices(const DoublingProfiles& profiles) : profiles_(profiles) {}

    int Of(int slot, const CEquipData& piece) {
        auto [entry, isNew] = known_[slot].try_emplace(&piece, 0);
        if (isNew) {
            entry->second = profiles_.IndexOf(slot, piece);
        }
        return entry->second;
    }

private:
    const DoublingProfiles& profiles_;
    std::unordered_map<const CEquipData*, int> known_[kSlotCount];
};

} // namespace

void ArrangeKeptSets(ExactJudge& judge, const std::vector<std::unique_ptr<CEquipSet>>& sets) {
    std::unordered_map<HitOfSet, DecoBlock, HitOfSetHash> arranged;
    ProfileIndices profiles(judge.Doubling());
    for (const std::unique_ptr<CEquipSet>& set : sets) {
        SearchHit hit;
        HitVariant variant;
        HitOfSet shared{};
        bool doubling = false;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            hit.keys[slot] = set->pieces[slot]->groupKey;
            shared[slot] = hit.keys[slot];
            if (hit.keys[slot] == kDoublingKey) {
                const int profile = profiles.Of(slot, *set->pieces[slot]);
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
