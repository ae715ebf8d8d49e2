#pragma once

#include <cstdint>
#include <string>

#include "config/recent_skill_list.h"
#include "engine/condition/search_condition.h"
#include "platform/message_sink.h"

constexpr int kRecentSkillLimit = 12;
constexpr int kConfigVersion = 2;

// Everything the program remembers between runs, persisted in Config.dat of the program folder.
struct CConfigData {
    CRecentSkillList m_recent[2]; // 0 for blade users, 1 for gunners
    std::int32_t m_nMaxDisplay = 10000;
    std::int32_t m_nMaxCalc = 1000000;
    std::int32_t m_nSex = 1;        // 1 male, 2 female
    std::int32_t m_nWeaponType = 1; // 1 blade, 2 gunner
    std::int32_t m_nWeaponSlots = 0;
    std::int32_t m_bMinDefence = 0;
    std::int32_t m_nMinDefence = 0;
    std::int32_t m_bUseExclude = 0;
    std::int32_t m_bUseFixed = 0;
    std::int32_t m_bRarityOff[kRarityCount] = {};
    std::int32_t m_nSkillCount = 0;
    std::int32_t m_nSkills[kMaxRuleFittingSkills] = {};
    std::int32_t m_bFastSearch = 0;
    std::int32_t m_bEarlyData = 0;
    std::int32_t m_bOwnedOnly = 0;
    std::int32_t m_bNoBodyDoubling = 0;
    std::int32_t m_nCustomSex = 1;
    std::int32_t m_nCustomWeapon = 1;
    std::int32_t m_nReserved1 = 5;
    std::int32_t m_nOwnSex = 1;
    std::int32_t m_nOwnWeapon = 1;
    std::int32_t m_nReserved2 = 5;
    std::int32_t m_nReserved3 = 5;
    // After the version-2 block, where a reader of that layout stops, so the file stays readable
    // by such a reader. A file without them keeps these defaults: every set, best defence first.
    std::int32_t m_bExactFitting = 1;                                       // flag: "完全検索"
    std::int32_t m_nRankKey = static_cast<std::int32_t>(RankKey::kDefense); // "表示順"
    // Chosen rows past the fifth, which only the complete search takes; -1 where there is none.
    // The version-2 block keeps at most five, so its reader never meets a longer list.
    std::int32_t m_nMoreSkills[kMaxChosenSkills - kMaxRuleFittingSkills] = {-1, -1, -1, -1, -1};

    // Reads Config.dat of `folder`. False, with every field unchanged, when the file cannot be
    // read or has another version. A file that ends early fills the fields it holds and leaves
    // the rest; a setting after the version-2 block outside its range is left too; a negative
    // recent-list count ends the reading there, and a count beyond the end of the file takes the
    // indices that are there. Only the first 64 KiB of a file are read.
    bool Load(const std::string& folder);
    // Writes Config.dat of `folder`; false, with the save-failure message, when that fails, and
    // the previous file then stays as it was.
    bool Save(const std::string& folder, platform::MessageSink& sink) const;

    // Moves the skill index to the newest end of recent list `list` (0 or 1), keeping the twelve
    // most recent distinct skills. Other list numbers are ignored.
    void PushRecentSkill(int list, std::int32_t skillIndex);
};

inline std::string ConfigPath(const std::string& folder) {
    return folder + "Config.dat";
}
