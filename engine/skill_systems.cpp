#include "engine/skill_systems.h"

#include <string>
#include <vector>

#include "engine/sjis_text.h"

namespace {
std::vector<std::string>& Names() {
    static std::vector<std::string> names;
    return names;
}
} // namespace

int FindOrAddSkillSystem(std::string_view name) {
    std::vector<std::string>& names = Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    names.emplace_back(name);
    return static_cast<int>(names.size() - 1);
}

const char* SkillSystemName(int id) {
    const std::vector<std::string>& names = Names();
    if (id < 0 || static_cast<std::size_t>(id) >= names.size()) {
        return sjis::kUnknown;
    }
    return names[id].c_str();
}

int SkillSystemCount() {
    return static_cast<int>(Names().size());
}

void ClearSkillSystems() {
    Names().clear();
}
