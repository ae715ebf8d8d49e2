#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/equip_database.h"

// What a search asked for, in the CLI's terms; also gives the matching arguments.
struct SearchRequest {
    std::vector<std::string> skills;
    std::vector<std::string> avoided;
    int job = 1;
    int sex = 1;
    int weaponSlots = 0;
    int minDefense = 0;
    std::vector<int> rarityOff;
    bool fast = false;

    std::vector<std::string> Args() const;
};

// Recomputes every set of a `--json` document from the tables alone and returns one line per
// fault: pieces that may not be worn, decorations beyond their slots, a defence below the
// minimum, a chosen skill not active or an avoided one active, and printed values that differ
// from the recomputed ones.
std::vector<std::string> CheckSets(const nlohmann::ordered_json& document,
                                   const SearchRequest& request, const CEquipDatabase& database);
