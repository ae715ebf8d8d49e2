#include "cli/condition_options.h"

#include <cstdint>
#include <cstring>

#include "cli/cli_context.h"
#include "engine/condition/skill_limits.h"
#include "platform/sjis.h"

namespace {

constexpr std::uint32_t kMaxLimit = 4294967295u;

// In RankKey order.
const char* const kRankKeyNames[kRankKeyCount] = {"none",    "defense", "slots",  "fire", "water",
                                                  "thunder", "ice",     "dragon", "owned"};

RankKey RankKeyNamed(const std::string& name) {
    for (int key = 0; key < kRankKeyCount; ++key) {
        if (name == kRankKeyNames[key]) {
            return static_cast<RankKey>(key);
        }
    }
    return RankKey::kNone;
}

bool FitsExactly(const ConditionOptions& options) {
    if (options.exact && options.fitting == "rules") {
        throw CliExit{kExitUsage, "--exact and --fitting rules contradict each other"};
    }
    return options.exact || options.fitting == "exact";
}

int JobNumber(const std::string& job) {
    return job == "gunner" ? 2 : 1;
}
std::string JobName(int job) {
    return job == 2 ? "gunner" : "blade";
}
int SexNumber(const std::string& sex) {
    return sex == "female" ? 2 : 1;
}
std::string SexName(int sex) {
    return sex == 2 ? "female" : "male";
}

void AddSkillOptions(CLI::App& command, ConditionOptions& options) {
    // Triggered per occurrence, so --skill and --avoid keep their interleaved order.
    command
        .add_option_function<std::string>(
            "--skill", [&options](const std::string& name) { options.picks.push_back({name}); },
            "A skill level that must be active, by its activated-skill name (repeatable)")
        ->trigger_on_parse();
    command
        .add_option_function<std::string>(
            "--avoid",
            [&options](const std::string& name) {
                options.picks.push_back({name, true});
            },
            "A skill level that must not be active (repeatable; ten skills in all, five "
            "with --fitting rules)")
        ->trigger_on_parse();
}

void AddCharacterOptions(CLI::App& command, ConditionOptions& options) {
    options.sexOption = command.add_option("--sex", options.sex, "male or female (default male)")
                            ->check(CLI::IsMember({"male", "female"}));
    options.jobOption =
        command
            .add_option("--job", options.job, "blade (剣士) or gunner (ガンナー), default blade")
            ->check(CLI::IsMember({"blade", "gunner"}));
    options.weaponSlotsOption =
        command.add_option("--weapon-slots", options.weaponSlots, "Weapon slots, 0 to 3")
            ->check(CLI::Range(0, 3));
}

void AddFilterOptions(CLI::App& command, ConditionOptions& options) {
    command.add_option("--min-defense", options.minDefense, "Minimum total defence (0: none)")
        ->check(CLI::Range(0, 1 << 30));
    command.add_option("--rarity-off", options.rarityOff, "Leave out pieces of this rarity")
        ->check(CLI::Range(0, kRarityCount - 1))
        ->take_all();
    command.add_flag("--fast", options.fast, "Only pieces with points in a chosen skill");
    command.add_flag("--exact", options.exact, "The same as --fitting exact");
    command.add_flag("--no-doubling", options.noDoubling, "Leave out body-doubling pieces");
    command.add_option("--max-display", options.maxDisplay, "Most result sets (default 10000)")
        ->check(CLI::Range(1u, kMaxLimit));
    command
        .add_option("--max-calc", options.maxCalc,
                    "Most rejected expansions and stored hits (default 1000000)")
        ->check(CLI::Range(1u, kMaxLimit));
}

// The first row with this activated-skill name that the weapon class may choose, or -1.
int FindSkillRow(const CEquipDatabase& database, const std::string& sjisName, int job,
                 bool& otherClassOnly) {
    otherClassOnly = false;
    const auto& skills = database.Skills();
    for (std::size_t row = 0; row < skills.size(); ++row) {
        const CSkillData& skill = *skills[row];
        if (std::strncmp(skill.skillName, sjisName.c_str(), kNameSize) != 0) {
            continue;
        }
        if (skill.jobFilter == 0 || skill.jobFilter == job) {
            return static_cast<int>(row);
        }
        otherClassOnly = true;
    }
    return -1;
}

int ResolveSkill(const CEquipDatabase& database, const std::string& name, int job) {
    bool otherClassOnly = false;
    const int row = FindSkillRow(database, platform::Utf8ToSjis(name), job, otherClassOnly);
    if (row >= 0) {
        return row;
    }
    if (otherClassOnly) {
        throw CliExit{kExitUsage, "skill not available for " + JobName(job) + ": " + name};
    }
    throw CliExit{kExitUsage, "unknown skill: " + name};
}

void AddSkills(const ConditionOptions& options, const CEquipDatabase& database,
               CSearchCondition& condition) {
    switch (SkillCountExcessOf(options.picks.size(), FitsExactly(options))) {
    case SkillCountExcess::kBeyondAll:
        throw CliExit{kExitUsage,
                      "at most ten skills can be chosen (--skill and --avoid together)"};
    case SkillCountExcess::kBeyondRuleFitting:
        throw CliExit{kExitUsage, "more than five skills (--skill and --avoid together) need "
                                  "the complete fitting: leave out --fitting rules"};
    case SkillCountExcess::kNone:
        break;
    }
    for (const SkillPick& pick : options.picks) {
        const int row = ResolveSkill(database, pick.name, condition.job);
        const int system = database.Skills()[row]->systemId;
        for (int i = 0; i < condition.skillCount; ++i) {
            if (database.Skills()[condition.skillRows[i]]->systemId == system) {
                throw CliExit{kExitUsage, "two levels of one skill system: " + pick.name};
            }
        }
        condition.skillRows[condition.skillCount++] = row;
        if (pick.avoid) {
            condition.excludedSkillRows[condition.excludedSkillCount++] = row;
        }
    }
}

} // namespace

void AddConditionOptions(CLI::App& command, ConditionOptions& options) {
    AddSkillOptions(command, options);
    AddCharacterOptions(command, options);
    AddFilterOptions(command, options);
    AddListOptions(command, options.lists);
}

void AddRankingOptions(CLI::App& command, ConditionOptions& options) {
    command
        .add_option("--fitting", options.fitting,
                    "exact (default): every set that can meet the skills; rules: the quick "
                    "rule-based fitting, which misses some sets")
        ->check(CLI::IsMember({"rules", "exact"}));
    command
        .add_option("--best", options.best,
                    "List the --max-display sets best by: defense (default), slots (free slots), "
                    "fire, water, thunder, ice, dragon (resistance), owned (owned pieces); none "
                    "lists them in the order found")
        ->check(
            CLI::IsMember(std::vector<std::string>(kRankKeyNames, kRankKeyNames + kRankKeyCount)));
}

const char* RankKeyName(RankKey key) {
    return kRankKeyNames[static_cast<int>(key)];
}

void TakeUnsetFrom(ConditionOptions& options, int job, int sex, int weaponSlots) {
    if (options.jobOption->count() == 0) {
        options.job = JobName(job);
    }
    if (options.sexOption->count() == 0) {
        options.sex = SexName(sex);
    }
    if (options.weaponSlotsOption->count() == 0) {
        options.weaponSlots = weaponSlots;
    }
}

void RefuseUnsearchable(const ConditionOptions& options) {
    if (options.picks.empty()) {
        throw CliExit{kExitUsage, "スキルが選択されていません"};
    }
    for (const SkillPick& pick : options.picks) {
        if (!pick.avoid) {
            return;
        }
    }
    throw CliExit{kExitUsage, "除外スキルだけでは検索できません"};
}

CSearchCondition BuildCondition(const ConditionOptions& options, const CEquipDatabase& database) {
    CSearchCondition condition;
    condition.sex = SexNumber(options.sex);
    condition.job = JobNumber(options.job);
    AddSkills(options, database, condition);
    condition.weaponSlots = options.weaponSlots;
    condition.fixed.weaponSlots = options.weaponSlots;
    condition.minDefense = options.minDefense;
    for (int rarity : options.rarityOff) {
        condition.rarityAllowed[rarity] = 0;
    }
    condition.fastSearch = options.fast ? 1 : 0;
    condition.exactFitting = FitsExactly(options) ? 1 : 0;
    condition.rankKey = RankKeyNamed(options.best);
    condition.excludeDoubling = options.noDoubling ? 1 : 0;
    condition.maxDisplay = options.maxDisplay;
    condition.maxCalc = options.maxCalc;
    ApplyListOptions(options.lists, database, condition);
    return condition;
}
