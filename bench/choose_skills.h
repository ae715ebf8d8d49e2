#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>

#include "platform/sjis.h"
#include "ui/simulator_dlg.h"

// Puts the skill levels named (UTF-8) on the window's chosen list, in that order; false, with a
// message naming `tool`, when the loaded tables lack one.
template <std::size_t N>
bool ChooseSkills(CSimulatorDlg& window, const char* const (&names)[N], const char* tool) {
    const auto& skills = window.m_search.database.Skills();
    for (const char* name : names) {
        const auto found = std::find_if(skills.begin(), skills.end(), [name](const CSkillData* s) {
            return platform::SjisToUtf8(s->skillName) == name;
        });
        if (found == skills.end()) {
            std::fprintf(stderr, "%s: no skill %s in the tables\n", tool, name);
            return false;
        }
        window.AddChosenSkill(static_cast<int>(found - skills.begin()));
    }
    return true;
}
