#include "engine/search/kept_set_decorations.h"

#include <array>
#include <cstring>

#include "engine/condition/group_key.h"
#include "engine/sets/first_use_numbers.h"

bool DefersDecorations(const CSearchCondition& condition) {
    return condition.exactFitting && condition.rankKey != RankKey::kNone &&
           condition.rankKey != RankKey::kFreeSlots;
}

namespace {

// The groups of a set, a doubling piece's entry naming its profile instead: all its arrangement
// depends on. Those entries lie above every real key, which leaves the bits past 54 clear.
using HitOfSet = std::array<GroupKey, kSlotCount>;

GroupKey DoublingEntry(int profile) {
    return kDoublingKey + 1 + static_cast<GroupKey>(profile);
}

// The profile of a doubling piece, looked up once per piece: the kept sets share few pieces.
class ProfileIndices {
public:
    explicit ProfileIndices(const DoublingProfiles& profiles) : profiles_(profiles) {}

    int Of(int slot, const CEquipData& piece) {
        bool isNew = false;
        const std::size_t number = pieces_[slot].NumberOf(&piece, isNew);
        if (isNew) {
            indices_[slot].push_back(profiles_.IndexOf(slot, piece));
        }
        return indices_[slot][number];
    }

private:
    const DoublingProfiles& profiles_;
    FirstUseNumbers<const CEquipData*, AddressHash> pieces_[kSlotCount];
    std::vector<int> indices_[kSlotCount];
};

// The decorations of a hit's sets, from its groups and the profiles of its doubling pieces.
void ArrangeHit(ExactJudge& judge, const HitOfSet& shared, bool doubling, DecoBlock& out) {
    SearchHit hit;
    HitVariant variant;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool doublingSlot = shared[slot] > kDoublingKey;
        hit.keys[slot] = doublingSlot ? kDoublingKey : shared[slot];
        if (doublingSlot) {
            variant.profile[slot] = static_cast<std::uint16_t>(shared[slot] - DoublingEntry(0));
        }
    }
    judge.Arrange(hit, doubling ? &variant : nullptr, out);
}

} // namespace

// Most sets share their hit with an earlier one, so a hit is made up only for the first of its
// sets.
void ArrangeKeptSets(ExactJudge& judge, const std::vector<std::unique_ptr<CEquipSet>>& sets) {
    FirstUseNumbers<HitOfSet, AddressRunHash> hits;
    std::vector<DecoBlock> arranged;
    ProfileIndices profiles(judge.Doubling());
    for (const std::unique_ptr<CEquipSet>& set : sets) {
        HitOfSet shared{};
        bool doubling = false;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            shared[slot] = set->pieces[slot]->groupKey;
            if (shared[slot] == kDoublingKey) {
                shared[slot] = DoublingEntry(profiles.Of(slot, *set->pieces[slot]));
                doubling = true;
            }
        }
        bool isNew = false;
        const std::size_t number = hits.NumberOf(shared, isNew);
        if (isNew) {
            ArrangeHit(judge, shared, doubling, arranged.emplace_back());
        }
        static_assert(sizeof set->decos == sizeof arranged[number].decos);
        std::memcpy(set->decos, arranged[number].decos, sizeof set->decos);
    }
}
