#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/list_options.h"
#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"

// One --skill or --avoid, in the order given on the command line.
struct SkillPick {
    std::string name; // activated-skill name, UTF-8
    bool avoid = false;
};

// The options that describe a search, as given on the command line.
struct ConditionOptions {
    std::vector<SkillPick> picks;
    std::string sex = "male";
    std::string job = "blade";
    int weaponSlots = 0;
    int minDefense = 0;
    std::vector<int> rarityOff;
    bool fast = false;
    bool exact = false;            // --exact, the older spelling of --fitting exact
    std::string fitting = "exact"; // rules or exact
    std::string best = "defense";  // a rank-key name, see AddRankingOptions
    bool noDoubling = false;
    std::uint32_t maxDisplay = 10000;
    std::uint32_t maxCalc = 1000000;
    ListOptions lists;

    // Kept so that a refine can tell a value the user gave from a default.
    CLI::Option* sexOption = nullptr;
    CLI::Option* jobOption = nullptr;
    CLI::Option* weaponSlotsOption = nullptr;
};

void AddConditionOptions(CLI::App& command, ConditionOptions& options);
// --fitting and --best, for the commands that list sets found by a search.
void AddRankingOptions(CLI::App& command, ConditionOptions& options);

// The --best name of a rank key.
const char* RankKeyName(RankKey key);

// Takes the weapon class, sex and weapon slots of a loaded result file for each of the three
// that the command line left at its default.
void TakeUnsetFrom(ConditionOptions& options, int job, int sex, int weaponSlots);

// The refusals of a new search: no skill at all, or avoided skills only. Throws CliExit.
void RefuseUnsearchable(const ConditionOptions& options);

// Everything the search is told, resolved against the loaded tables. A skill name that is not in
// the table for the weapon class, more than ten skills (five with the rule-based fitting) or two
// levels of one skill system throw CliExit with a message naming the culprit.
CSearchCondition BuildCondition(const ConditionOptions& options, const CEquipDatabase& database);
