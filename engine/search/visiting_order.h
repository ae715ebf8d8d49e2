#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/search/rank_bound.h"

// The order a ranked search visits the groups of one level in: the runs of equivalent groups
// (the same points, more slots first) stay whole and in their own order, so that skipping after
// a failed group stays sound; the runs go best bound first, by the key and then by defence, so
// that the list fills with good sets early and rules out more of the rest. Indices into `groups`.
std::vector<std::uint32_t> BestRunsFirst(const GroupList& groups, const RankBound& bound,
                                         int level);
