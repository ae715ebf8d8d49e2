#include <QProgressBar>
#include <algorithm>
#include <string>

#include "engine/advisor/advice_text.h"
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

CSimulatorDlg::ProgressDisplay CSimulatorDlg::KeepProgressDisplay() const {
    return {Control<QProgressBar>(kIdProgressBar)->value(), GetText(kIdProgressText),
            GetText(kIdElapsed), GetText(kIdResultCount)};
}

void CSimulatorDlg::RestoreProgressDisplay(const ProgressDisplay& shown) {
    Control<QProgressBar>(kIdProgressBar)->setValue(shown.bar);
    SetText(kIdProgressText, shown.progress);
    SetText(kIdElapsed, shown.elapsed);
    SetText(kIdResultCount, shown.count);
}

void CSimulatorDlg::OnBnClickedExtraSkills() {
    if (m_bExtraSkillsRunning) {
        m_extraProgress.abortRequested = 1;
        return;
    }
    if (m_search.running || m_bFillingResults || m_bAdviceRunning) {
        return;
    }
    std::optional<std::vector<int>> rows = RunExtraSkillsSearch();
    if (!rows) {
        return;
    }
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    ExtraSkillsChooser chooser;
    chooser.limit = ChosenSkillLimit();
    chooser.full = [chosen, limit = chooser.limit] { return chosen->GetItemCount() >= limit; };
    chooser.add = [this](int index) { AddChosenSkill(index); };
    chooser.recompute = [this] { return RunExtraSkillsSearch(); };
    chooser.abort = [this] { m_extraProgress.abortRequested = 1; };
    CExtraSkillsDlg dialog(m_search.database.Skills(), std::move(*rows), std::move(chooser),
                           GetPrompter(), this);
    dialog.DoModal();
}

std::optional<std::vector<int>> CSimulatorDlg::RunExtraSkillsSearch() {
    CSearchCondition condition;
    BuildCondition(condition);
    RememberCondition(condition);
    const ProgressDisplay shown = KeepProgressDisplay();
    m_bExtraSkillsRunning = true;
    EnableForSearch(true);
    SetText(kIdExtraSkills, "中断");
    SetText(kIdElapsed, "追加スキル検索中");
    SetTimer(kSearchTimer, kSearchTimerMs);
    m_liFrequency = ui::PerfFrequency();
    m_liSearchStart = ui::PerfCounter();
    bool aborted = false;
    std::vector<int> rows =
        FindAddableSkills(m_search.database, condition, kAdvisorThreads, m_extraProgress, aborted);
    KillTimer(kSearchTimer);
    m_bExtraSkillsRunning = false;
    EnableForSearch(false);
    SetText(kIdExtraSkills, "追加スキル検索");
    RestoreProgressDisplay(shown);
    if (aborted) {
        return std::nullopt;
    }
    return rows;
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

void CSimulatorDlg::ShowAdvice() {
    const ProgressDisplay shown = KeepProgressDisplay();
    m_bAdviceRunning = true;
    EnableForSearch(true);
    SetText(kIdSearch, "中断");
    m_adviceProgress.Restart();
    ShowAdviceProgress();
    SetTimer(kSearchTimer, kSearchTimerMs);
    const std::vector<SkillAdvice> advice =
        AdviseWithout(m_search.database, m_condition, &m_adviceProgress);
    KillTimer(kSearchTimer);
    m_bAdviceRunning = false;
    EnableForSearch(false);
    SetText(kIdSearch, "検索");
    // Unlocking gave the save button back; there is still nothing to save.
    Enable(kIdSaveAll, false);
    RestoreProgressDisplay(shown);
    std::string text = m_listResult.EmptyText().toStdString();
    for (const std::string& line : AdviceLines(m_search.database, advice)) {
        text += "\n" + line;
    }
    m_listResult.SetEmptyText(text);
}

void CSimulatorDlg::ShowAdviceProgress() {
    const int done = m_adviceProgress.done;
    const int total = m_adviceProgress.total;
    Control<QProgressBar>(kIdProgressBar)->setValue(total > 0 ? done * 100 / total : 0);
    SetText(kIdProgressText, std::to_string(done) + " / " + std::to_string(total));
    SetText(kIdElapsed, "見つからない理由を調べています");
}
