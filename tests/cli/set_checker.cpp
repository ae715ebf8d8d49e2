#include "set_checker.h"

#include <algorithm>

#include "engine/equip_set.h"
#include "engine/skill_summary.h"
#include "platform/sjis.h"

namespace {

using json = nlohmann::ordered_json;

class Checker {
public:
    Checker(const SearchRequest& request, const CEquipDatabase& database)
        : request_(request), database_(database) {}

    void Check(const json& entry, int index) {
        prefix_ = "set " + std::to_string(index + 1) + ": ";
        CEquipSet set;
        set.weaponSlots = request_.weaponSlots;
        if (!Rebuild(entry, set)) {
            return;
        }
        CheckWearable(set);
        CheckSlots(set);
        CheckSkills(set, entry);
        CheckValues(set, entry);
    }

    std::vector<std::string> faults;

private:
    void Fault(const std::string& text) { faults.push_back(prefix_ + text); }

    int FindSkillRow(const std::string& name) const {
        const std::string sjis = platform::Utf8ToSjis(name);
        const auto& skills = database_.Skills();
        for (std::size_t row = 0; row < skills.size(); ++row) {
            if (sjis == skills[row]->skillName &&
                (skills[row]->jobFilter == 0 || skills[row]->jobFilter == request_.job)) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }

    bool Rebuild(const json& entry, CEquipSet& set) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string name = entry["pieces"][slot].get<std::string>();
            set.pieces[slot] = database_.FindArmor(slot, platform::Utf8ToSjis(name).c_str());
            if (set.pieces[slot] == nullptr) {
                Fault("no piece " + name + " in slot " + std::to_string(slot));
                return false;
            }
        }
        for (int position = 0; position < kPositionCount; ++position) {
            for (const json& name : entry["decorations"][position]) {
                CDecoData* deco =
                    database_.FindDeco(platform::Utf8ToSjis(name.get<std::string>()).c_str());
                if (deco == nullptr || !set.AddDeco(position, deco)) {
                    Fault("decoration " + name.get<std::string>() + " cannot be placed");
                    return false;
                }
            }
        }
        return true;
    }

    void CheckWearable(const CEquipSet& set) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const CEquipData& piece = *set.pieces[slot];
            const bool rarityOff = std::find(request_.rarityOff.begin(), request_.rarityOff.end(),
                                             piece.rarity) != request_.rarityOff.end();
            if ((piece.sex != 0 && piece.sex != request_.sex) ||
                (piece.job != 0 && piece.job != request_.job) || rarityOff) {
                Fault(std::string("piece may not be used: ") + platform::SjisToUtf8(piece.name));
            }
        }
        if (set.TotalDefense() < request_.minDefense) {
            Fault("defence " + std::to_string(set.TotalDefense()) + " below the minimum");
        }
    }

    void CheckSlots(const CEquipSet& set) {
        for (int position = 0; position < kPositionCount; ++position) {
            if (set.FreeSlots(position) < 0) {
                Fault("decorations exceed the slots of position " + std::to_string(position));
            }
        }
    }

    void CheckSkills(const CEquipSet& set, const json& entry) {
        SkillRowTable rows;
        const int count = SkillSummary(set, database_.Skills(), rows);
        auto reached = [&](int skillRow) {
            const CSkillData& skill = *database_.Skills()[skillRow];
            for (int i = 0; i < count; ++i) {
                if (rows[i].systemId == skill.systemId) {
                    return skill.IsReached(rows[i].total);
                }
            }
            return skill.IsReached(0);
        };
        for (const std::string& name : request_.skills) {
            const int row = FindSkillRow(name);
            if (row < 0 || !reached(row)) {
                Fault("chosen skill not active: " + name);
            }
        }
        for (const std::string& name : request_.avoided) {
            const int row = FindSkillRow(name);
            if (row < 0 || reached(row)) {
                Fault("avoided skill active: " + name);
            }
        }
        json active = json::array();
        for (int i = 0; i < count; ++i) {
            if (rows[i].skillIndex >= 0) {
                active.push_back(
                    platform::SjisToUtf8(database_.Skills()[rows[i].skillIndex]->skillName));
            }
        }
        if (entry["skills"] != active) {
            Fault("printed skills " + entry["skills"].dump() + " but the set activates " +
                  active.dump());
        }
    }

    void CheckValues(const CEquipSet& set, const json& entry) {
        json resist = json::array();
        for (int element = 0; element < 5; ++element) {
            resist.push_back(set.TotalResist(element));
        }
        const int freeSlots = set.FreeArmorSlots() + set.FreeSlots(kWeaponPosition);
        if (entry["defense"] != set.TotalDefense() || entry["resist"] != resist ||
            entry["freeSlots"] != freeSlots) {
            Fault("printed defence, resistances or free slots differ: " + entry.dump());
        }
    }

    const SearchRequest& request_;
    const CEquipDatabase& database_;
    std::string prefix_;
};

} // namespace

std::vector<std::string> SearchRequest::Args() const {
    std::vector<std::string> args = {"search", "--json"};
    for (const std::string& skill : skills) {
        args.insert(args.end(), {"--skill", skill});
    }
    for (const std::string& skill : avoided) {
        args.insert(args.end(), {"--avoid", skill});
    }
    args.insert(args.end(),
                {"--job", job == 2 ? "gunner" : "blade", "--sex", sex == 2 ? "female" : "male",
                 "--weapon-slots", std::to_string(weaponSlots), "--min-defense",
                 std::to_string(minDefense)});
    for (int rarity : rarityOff) {
        args.insert(args.end(), {"--rarity-off", std::to_string(rarity)});
    }
    if (fast) {
        args.push_back("--fast");
    }
    return args;
}

std::vector<std::string> CheckSets(const json& document, const SearchRequest& request,
                                   const CEquipDatabase& database) {
    Checker checker(request, database);
    const json& results = document["results"];
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i]["number"] != i + 1) {
            checker.faults.push_back("set " + std::to_string(i + 1) + ": wrong number");
        }
        checker.Check(results[i], static_cast<int>(i));
    }
    return checker.faults;
}
