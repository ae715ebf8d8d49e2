#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/exact/exact_combination.h"
#include "engine/fitting/search_hit.h"

// The slots of a combination that hold its doubling groups, where its variants differ.
struct DoublingSlots {
    int slots[kSlotCount] = {};
    int count = 0;
};

// Judges a combination of candidate groups for the search's exact mode. The doubling group of a
// slot is judged once per profile of its pieces; the others by what their keys hold.
class ExactJudge {
public:
    ExactJudge(const CSearchCondition& condition, const SkillTable& table,
               const CandidateList (&candidates)[kSlotCount], const GroupList (&groups)[kSlotCount],
               ExactFitter& fitter);

    // Whether some sets of the combination can be met; fills the variants of `hit` (one per met
    // profile combination of its doubling pieces) and the number of armour sets met.
    bool Judge(const CandidateGroup* const (&chosen)[kSlotCount], SearchHit& hit,
               std::uint64_t& sets);
    // The decorations of a hit's sets (of one variant, when it has variants). Found only for hits
    // whose sets are listed, as most hits of a search with a minimum defence list none.
    void Arrange(const SearchHit& hit, const HitVariant* variant, DecoBlock& out);
    // Whether those decorations leave at least `leastFree` slots free, the weapon's `weaponSlots`
    // included; found without placing them.
    bool LeavesFree(const SearchHit& hit, const HitVariant* variant, int weaponSlots,
                    std::int64_t leastFree);

    // Whether some sets of the combination can be met with decorations that leave at least
    // `leastFree` slots free, as above.
    bool LeavesFree(const CandidateGroup* const (&chosen)[kSlotCount], int weaponSlots,
                    std::int64_t leastFree);

    const DoublingProfiles& Doubling() const { return doubling_; }
    // Whether variant a of a combination brings at least what b does at each of its doubling
    // slots: whatever decorations b's sets take, a's take no more and meet no less.
    bool AtLeast(const HitVariant& a, const HitVariant& b, const DoublingSlots& doubling) const;

private:
    // A variant tested so far in the combination at hand.
    struct Decided {
        HitVariant variant;
        bool passed = false;
    };

    void NoteDominance(const CSearchCondition& condition, const ExactFitter& fitter);
    template <typename Test>
    bool Decide(const PieceProfile* const (&pieces)[kSlotCount], const HitVariant* variant,
                Test test);
    template <typename Visit>
    void EachProfileChoice(const CandidateGroup* const (&chosen)[kSlotCount], Visit visit);
    bool PiecesLeaveFree(const PieceProfile* const (&pieces)[kSlotCount], int weaponSlots,
                         std::int64_t leastFree);
    void ProfilesOf(const SearchHit& hit, const HitVariant* variant,
                    const PieceProfile* (&pieces)[kSlotCount]);
    const PieceProfile& ProfileOf(int slot, GroupKey key);

    int skillCount_ = 0;
    ExactCombination combination_;
    DoublingProfiles doubling_;
    const GroupList (&groups_)[kSlotCount];
    std::vector<PieceProfile> groupProfiles_[kSlotCount];
    // Whether doubling profile i of a slot brings at least what profile j does, at i * n + j for
    // the slot's n profiles. Bytes rather than bits: every variant judged reads them.
    std::vector<std::uint8_t> dominates_[kSlotCount];
    // Each slot's count of doubling profiles, n above, kept apart from the profiles themselves:
    // working it out of their list costs a division every variant compared.
    std::size_t profileCounts_[kSlotCount] = {};
    // The doubling slots of the combination whose variants are being decided.
    DoublingSlots doublingSlots_;
    std::vector<Decided> decided_;
    // The variants met so far, handed to the hit at once: growing each hit's own list as they
    // come would allocate several times for most hits.
    std::vector<HitVariant> met_;
    // The profiles of the group keys of hits arranged, a few by slot at the top bits of a product
    // of the key: the hits listed share few groups, and working a profile out of its key reads
    // every skill's field.
    struct KeyedProfile {
        GroupKey key = kNoFailedKey; // never a real key: the entry is empty
        PieceProfile profile;
    };
    static constexpr int kKeyedBits = 6;
    std::array<KeyedProfile, std::size_t{1} << kKeyedBits> keyed_[kSlotCount];
};

// Read for every variant decided, so it stays in line.
inline bool ExactJudge::AtLeast(const HitVariant& a, const HitVariant& b,
                                const DoublingSlots& doubling) const {
    for (int d = 0; d < doubling.count; ++d) {
        const int slot = doubling.slots[d];
        const std::size_t i = a.profile[slot];
        if (dominates_[slot][i * profileCounts_[slot] + b.profile[slot]] == 0) {
            return false;
        }
    }
    return true;
}
