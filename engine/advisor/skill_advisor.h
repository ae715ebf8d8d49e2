#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/condition/search_condition.h"
#include "engine/search/search_progress.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"

// Answers to "what else could I get": exact, whichever fitting the search uses.

// Skill-table rows (in table order) of the plus levels the weapon class may choose, of systems
// not already chosen or avoided, that some armour set meets together with the condition. Runs
// on `threads` threads; the calling thread pumps the host of `progress` and reports in its
// `visited` and `totalCombos` the skill systems examined and to examine. Stops early when its
// `abortRequested` is set; `aborted` then tells so.
std::vector<int> FindAddableSkills(const CEquipDatabase& database,
                                   const CSearchCondition& condition, int threads,
                                   SearchProgress& progress, bool& aborted);

// Rows of the plus levels the set does not reach yet that decorations in its free slots could
// add, keeping its pieces and decorations, every chosen level reached and no avoided one.
std::vector<int> AddableSkillsOfSet(const CEquipDatabase& database,
                                    const CSearchCondition& condition, const CEquipSet& set);

// What an empty search could give up to find sets: one of its chosen rows, its minimum defence,
// "所持品のみ" or its fixed pieces, or the rule-based fitting for the complete one.
enum class AdviceKind { kSkill, kMinDefence, kOwnedOnly, kFixed, kExactFitting };

// How many sets the same search finds with one change, counted up to the display limit
// (`atLeast` when it is reached). `row` is the chosen row a kSkill line leaves out.
struct SkillAdvice {
    int row = 0;
    std::uint64_t sets = 0;
    bool atLeast = false;
    AdviceKind kind = AdviceKind::kSkill;
};

// How far AdviseWithout has come, for a host that shows it. The host is pumped from inside each
// search (its completion messages are not passed on); setting `abortRequested` then ends the
// advice at the running search, with `aborted` set.
struct AdviceProgress {
    explicit AdviceProgress(SearchHost* host = nullptr) : host(host) {}
    void Restart() {
        abortRequested = 0;
        done = 0;
        total = 0;
        aborted = false;
    }

    SearchHost* host;
    std::atomic<std::int32_t> abortRequested{0};
    int done = 0;
    int total = 0;
    bool aborted = false;
};

// One line for each chosen row that is not avoided and for each of the other changes the
// condition allows, most first. Runs its searches on objects of its own; an aborted run returns
// no lines.
std::vector<SkillAdvice> AdviseWithout(const CEquipDatabase& database,
                                       const CSearchCondition& condition,
                                       AdviceProgress* progress = nullptr);
