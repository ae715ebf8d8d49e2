#pragma once

#include <cstdint>
#include <vector>

#include "engine/candidates.h"
#include "engine/exact_combination.h"
#include "engine/search_hit.h"

// Judges a combination of candidate groups for the search's exact mode. The doubling group of a
// slot is judged once per profile of its pieces; the others by what their keys hold.
class ExactJudge {
public:
    ExactJudge(const CSearchCondition& condition, const SkillTable& table,
               const CandidateList (&candidates)[kSlotCount], const GroupList (&groups)[kSlotCount],
               ExactFitter& fitter);

    // Fills `hit` (decorations, or one variant per met profile combination) and the number of
    // armour sets met; false when none is.
    bool Judge(const CandidateGroup* const (&chosen)[kSlotCount], SearchHit& hit,
               std::uint64_t& sets);

    const DoublingProfiles& Doubling() const { return doubling_; }

private:
    ExactCombination combination_;
    DoublingProfiles doubling_;
    const GroupList (&groups_)[kSlotCount];
    std::vector<PieceProfile> groupProfiles_[kSlotCount];
};
