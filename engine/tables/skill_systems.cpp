#include "engine/tables/skill_systems.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/tables/sjis_text.h"

namespace {

// Names by id, and ids by name: every table line registers up to seven names, so a linear
// search made loading quadratic in the number of distinct names a foreign file brings.
struct SystemTable {
    std::vector<std::string> names;
    std::unordered_map<std::string, int> ids;
};

SystemTable& Table() {
    static SystemTable table;
    return table;
}

} // namespace

int FindOrAddSkillSystem(std::string_view name) {
    SystemTable& table = Table();
    const auto [entry, added] =
        table.ids.try_emplace(std::string(name), static_cast<int>(table.names.size()));
    if (added) {
        table.names.emplace_back(name);
    }
    return entry->second;
}

const char* SkillSystemName(int id) {
    const std::vector<std::string>& names = Table().names;
    if (id < 0 || static_cast<std::size_t>(id) >= names.size()) {
        return sjis::kUnknown;
    }
    return names[id].c_str();
}

int SkillSystemCount() {
    return static_cast<int>(Table().names.size());
}

void ClearSkillSystems() {
    Table().names.clear();
    Table().ids.clear();
}
