#include "search_window.h"

#include <QApplication>

#include <algorithm>

#include "engine/skill_summary.h"
#include "platform/sjis.h"
#include "res/dialog_102.h"

void HookedDialog::PumpMessages() {
    ++pumps;
    if (onPump) {
        onPump(*this);
    }
    CSimulatorDlg::PumpMessages();
}

bool SearchWindowTest::StartHooked() {
    dialog = std::make_unique<HookedDialog>(folder.Path(), prompter);
    return dialog->InitDialog();
}

int SearchWindowTest::SkillIndex(const std::string& utf8Name) const {
    const std::string name = platform::Utf8ToSjis(utf8Name);
    const auto& skills = dialog->m_search.database.Skills();
    for (std::size_t i = 0; i < skills.size(); ++i) {
        if (name == skills[i]->skillName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SearchWindowTest::ChooseSkills(const std::vector<std::string>& utf8Names) {
    SelectCategory(0);
    for (const std::string& name : utf8Names) {
        DoubleClickSkill(SkillIndex(name));
    }
}

void SearchWindowTest::PressSearch() {
    dialog->Click(res::kIdSearch);
    QApplication::processEvents();
}

void SearchWindowTest::ExpectSetsMeetTheCondition() const {
    const CSearchCondition& condition = dialog->m_condition;
    const auto& skills = dialog->m_search.database.Skills();
    const int* avoidedEnd = condition.excludedSkillRows + condition.excludedSkillCount;
    for (const auto& set : dialog->m_search.results) {
        SkillRowTable rows;
        const int count = set->Summarize(rows, skills);
        for (int k = 0; k < condition.skillCount; ++k) {
            const int index = condition.skillRows[k];
            const CSkillData& skill = *skills[static_cast<std::size_t>(index)];
            const bool avoided =
                std::find(condition.excludedSkillRows, avoidedEnd, index) != avoidedEnd;
            int total = 0;
            for (int r = 0; r < count; ++r) {
                total += rows[static_cast<std::size_t>(r)].systemId == skill.systemId
                             ? rows[static_cast<std::size_t>(r)].total
                             : 0;
            }
            EXPECT_EQ(skill.IsReached(total), !avoided)
                << "set " << set->number << " skill " << index;
        }
        for (int position = 0; position < kSlotCount; ++position) {
            EXPECT_GE(set->FreeSlots(position), 0) << "set " << set->number;
        }
        EXPECT_GE(set->FreeSlots(condition.weaponSlots, kWeaponPosition), 0);
    }
}
