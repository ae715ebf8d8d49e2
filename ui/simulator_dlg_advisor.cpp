#include <algorithm>
#include <string>

#include "engine/advisor/skill_advisor.h"
#include "engine/condition/chosen_skill_table.h"
#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "ui/extra_skills_dlg.h"
#include "ui/framework/perf_counter.h"
#include "ui/simulator_dlg.h"

using namespace res;

namespace {

// Both cores of the machines the program is made for; the answer is the same on one.
constexpr int kAdvisorThreads = 2;

// A refined set meets the skills of the search its list came from as well as the refine's own;
// none when together they are more than a condition holds.
std::optional<CSearchCondition> WithEarlierSkills(const CSearchCondition& refine,
                                                  const CSearchCondition& earlier) {
    CSearchCondition merged = refine;
    for (int k = 0; k < earlier.skillCount; ++k) {
        const int row = earlier.skillRows[k];
        if (std::find(merged.skillRows, merged.skillRows + merged.skillCount, row) !=
            merged.skillRows + merged.skillCount) {
            continue;
        }
        if (merged.skillCount == kMaxChosenSkills) {
            return std::nullopt;
        }
        merged.skillRows[merged.skillCount++] = row;
        if (IsExcludedSkill(earlier, row)) {
            merged.excludedSkillRows[merged.excludedSkillCount++] = row;
        }
    }
    return merged;
}

} // namespace

void CSimulatorDlg::OnBnClickedExtraSkills() {
    if (m_bExtraSkillsRunning) {
        m_search.abortRequested = 1;
        return;
    }
    if (m_search.running || m_bFillingResults) {
        return;
    }
    CSearchCondition condition;
    BuildCondition(condition);
    // The counters belong to the listed results, and a saved result file records them.
    const std::uint64_t visited = m_search.visited;
    const std::uint64_t total = m_search.totalCombos;
    m_bExtraSkillsRunning = true;
    EnableForSearch(true);
    SetText(kIdExtraSkills, "中断");
    SetTimer(kSearchTimer, kSearchTimerMs);
    m_liFrequency = ui::PerfFrequency();
    m_liSearchStart = ui::PerfCounter();
    bool aborted = false;
    const std::vector<int> rows = FindAddableSkills(m_search, condition, kAdvisorThreads, aborted);
    KillTimer(kSearchTimer);
    // Skill systems examined of all: a full bar only when every one was.
    UpdateProgress(m_search.visited, m_search.totalCombos);
    SetText(kIdElapsed, aborted ? "中断されました" : "終了");
    m_bExtraSkillsRunning = false;
    EnableForSearch(false);
    SetText(kIdExtraSkills, "追加スキル検索");
    m_search.visited = visited;
    m_search.totalCombos = total;
    m_search.abortRequested = 0;
    if (aborted) {
        return;
    }
    CExtraSkillsDlg dialog(
        m_search.database.Skills(), rows, [this](int index) { AddChosenSkill(index); },
        GetPrompter(), this);
    dialog.DoModal();
}

void CSimulatorDlg::KeepExtrasCondition() {
    if (m_finishSource == FinishSource::kSearch) {
        m_extrasCondition = m_condition;
    } else if (m_finishSource == FinishSource::kRefine && m_extrasCondition) {
        m_extrasCondition = WithEarlierSkills(m_condition, *m_extrasCondition);
    } else {
        m_extrasCondition.reset();
    }
}

void CSimulatorDlg::ShowSetExtras(const CEquipSet& set) {
    std::string text;
    if (m_extrasCondition) {
        const auto& skills = m_search.database.Skills();
        std::string names;
        for (int row : AddableSkillsOfSet(m_search.database, *m_extrasCondition, set)) {
            names += (names.empty() ? "" : " ") +
                     platform::SjisToShownText(skills[static_cast<std::size_t>(row)]->skillName);
        }
        text = "追加可能: " + (names.empty() ? std::string("なし") : names);
    }
    SetText(kIdSetExtras, text);
    Item(kIdSetExtras)->setToolTip(QString::fromStdString(text));
}

std::string CSimulatorDlg::AdviceText() {
    const auto& skills = m_search.database.Skills();
    std::string text;
    for (const SkillAdvice& advice : AdviseWithout(m_search, m_condition)) {
        text += "\n「" +
                platform::SjisToShownText(skills[static_cast<std::size_t>(advice.row)]->skillName) +
                "」を外すと " + std::to_string(advice.sets) + (advice.atLeast ? "件以上" : "件");
    }
    return text;
}
