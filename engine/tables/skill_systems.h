#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The skill-system names of one set of loaded tables. A system's id is the position of its name,
// handed out in order of first appearance while the tables are read; afterwards the table is only
// read, so searches and their workers can share it without locks.
class CSkillSystems {
public:
    // The id of `name`, registering it first when it is new. Only loading adds names.
    int FindOrAdd(std::string_view name);
    // The id of `name`, or -1 when no table line named it.
    int Find(std::string_view name) const;
    // The name of a system, or "不明" (Shift-JIS) for an id outside the table.
    const char* Name(int id) const;
    int Count() const { return static_cast<int>(names_.size()); }
    void Clear();

private:
    // Ids by name beside the names by id: every table line registers up to seven names, so a
    // linear search made loading quadratic in the number of distinct names a foreign file brings.
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> ids_;
};
