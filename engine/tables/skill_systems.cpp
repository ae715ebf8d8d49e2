#include "engine/tables/skill_systems.h"

#include "engine/tables/sjis_text.h"

int CSkillSystems::FindOrAdd(std::string_view name) {
    const auto [entry, added] = ids_.try_emplace(std::string(name), Count());
    if (added) {
        names_.emplace_back(name);
    }
    return entry->second;
}

int CSkillSystems::Find(std::string_view name) const {
    const auto entry = ids_.find(std::string(name));
    return entry == ids_.end() ? -1 : entry->second;
}

const char* CSkillSystems::Name(int id) const {
    if (id < 0 || id >= Count()) {
        return sjis::kUnknown;
    }
    return names_[static_cast<std::size_t>(id)].c_str();
}

void CSkillSystems::Clear() {
    names_.clear();
    ids_.clear();
}
