#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class CEquipDatabase;
struct CEquipSet;
struct CSkillData;

// The activated skill-table rows of a set, in the order of its skill summary (by total, highest
// first, then by skill system), found without building the summary's rows. Listing many sets
// spends most of its time on their skills; the levels reached are remembered across sets.
class ActiveSkillFinder {
public:
    explicit ActiveSkillFinder(const CEquipDatabase& database);

    // Replaces `rows` with the set's activated rows.
    void Find(const CEquipSet& set, std::vector<int>& rows);

private:
    struct Total {
        int id;
        int points;
    };
    void Add(int id, int points);
    int Activated(int id, int total);

    const std::vector<CSkillData*>& skills_;
    const int systemCount_;
    std::vector<Total> totals_;
    struct Active {
        int id;
        int points;
        int row;
    };
    std::vector<Active> active_;
    std::unordered_map<std::int64_t, int> activated_;
};
