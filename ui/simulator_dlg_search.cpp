#include <QProgressBar>
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "engine/search/progress_estimate.h"
#include "lists/search_lists.h"
#include "res/dialog_102.h"
#include "ui/framework/perf_counter.h"
#include "ui/simulator_dlg.h"

using namespace res;

namespace {

// The controls a running search must not let the user touch, in the order they are switched.
constexpr int kSearchLockedBefore[] = {kIdMale,   kIdFemale,     kIdBlade,
                                       kIdGunner, kIdMinDefence, kIdMinDefenceValue};
constexpr int kSearchLockedAfter[] = {
    kIdUseExclude,     kIdUseFixed,     kIdCategory,   kIdClearSkills, kIdConfig,
    kIdSaveAll,        kIdLoad,         kIdFastSearch, kIdOwnedOnly,   kIdEditOwn,
    kIdNoBodyDoubling, kIdExactFitting, kIdRankKey};
constexpr int kRefineLockedBefore[] = {kIdMale, kIdFemale, kIdBlade, kIdGunner};
constexpr int kRefineLockedAfter[] = {kIdUseExclude, kIdUseFixed,  kIdSaveAll, kIdLoad,
                                      kIdFastSearch, kIdOwnedOnly, kIdEditOwn, kIdNoBodyDoubling};

template <class... Args> std::string Format(const char* format, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string ProgressText(std::uint64_t visited, std::uint64_t total, std::uint64_t percent) {
    return Format("%" PRIu64 " / %" PRIu64 "   (%" PRIu64 "%%)", visited, total, percent);
}

} // namespace

void CSimulatorDlg::OnBnClickedSearch() {
    // The advice after an empty search is aborted like a search; its end restores the status.
    if (m_bAdviceRunning) {
        m_adviceProgress.abortRequested = 1;
        return;
    }
    // The filling lets the queue run; a new search then would pull the results from under it.
    if (m_bFillingResults || m_bExtraSkillsRunning) {
        return;
    }
    // A running search is aborted whatever the skill list holds now: the lists stay usable while
    // it runs, and an emptied list must not make the abort unreachable.
    if (m_search.running == 1) {
        KillTimer(kSearchTimer);
        m_search.abortRequested = 1;
        SetText(kIdSearch, "検索");
        SetText(kIdProgressText, "0%");
        SetText(kIdElapsed, "中断されました");
        EnableForSearch(false);
        return;
    }
    const auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    const bool refine = IsChecked(kIdRefine);
    if (chosen->GetItemCount() == 0 && !refine && !IsChecked(kIdMinDefence)) {
        GetPrompter().MessageBox("スキルが選択されていません");
        return;
    }
    SetText(kIdResultCount, "組み合わせ 0件");
    if (!refine) {
        bool anyWanted = false;
        for (int row = 0; row < chosen->GetItemCount(); ++row) {
            anyWanted = anyWanted || !chosen->GetCheck(row);
        }
        if (!anyWanted) {
            GetPrompter().MessageBox("除外スキルだけでは検索できません");
            return;
        }
    }
    ClearResultDisplay();
    EnableForSearch(true);
    SetText(kIdSearch, "中断");
    BuildCondition(m_condition);
    RememberCondition(m_condition);
    SetTimer(kSearchTimer, kSearchTimerMs);
    m_liFrequency = ui::PerfFrequency();
    m_liSearchStart = ui::PerfCounter();
    m_finishPosted = false;
    m_finishSource = refine ? FinishSource::kRefine : FinishSource::kSearch;
    const bool searched = RunSearchWithinMemory(refine);
    SetCheck(kIdRefine, false);
    if (!searched) {
        EndForLackOfMemory();
        return;
    }
    // An engine that refuses the condition says so and posts no completion; without one the
    // window would stay disabled with its timer running and "中断" on a button that aborts nothing.
    if (!m_finishPosted) {
        m_finishSource = FinishSource::kRefused;
        OnSearchFinished(0, 0);
    }
}

// Reads the controls and the list files only; what a search start keeps of them for the next
// start is RememberCondition's.
void CSimulatorDlg::BuildCondition(CSearchCondition& condition) {
    condition.sex = IsChecked(kIdMale) ? 1 : 2;
    condition.job = IsChecked(kIdBlade) ? 1 : 2;
    ReadChosenSkills(condition);
    condition.minDefense = IsChecked(kIdMinDefence) ? GetInt(kIdMinDefenceValue) : 0;
    for (int rarity = 0; rarity < kRarityCount; ++rarity) {
        condition.rarityAllowed[rarity] = IsChecked(kRarityButtonIds[rarity]) ? 0 : 1;
    }
    ReadFixedSet(condition);
    ReadExcludedLists(condition);
    ReadOwnedLists(condition);
    ReadSearchOptions(condition);
}

void CSimulatorDlg::RememberCondition(const CSearchCondition& condition) {
    for (int k = 0; k < condition.skillCount; ++k) {
        m_config.PushRecentSkill(condition.job - 1, condition.skillRows[k]);
    }
    SaveControlsToConfig();
}

void CSimulatorDlg::ReadChosenSkills(CSearchCondition& condition) const {
    const auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    condition.skillCount = 0;
    condition.excludedSkillCount = 0;
    const int rows = std::min(chosen->GetItemCount(), kMaxChosenSkills);
    for (int row = 0; row < rows; ++row) {
        const auto index = static_cast<std::int32_t>(chosen->GetItemData(row));
        condition.skillRows[condition.skillCount++] = index;
        if (chosen->GetCheck(row)) {
            condition.excludedSkillRows[condition.excludedSkillCount++] = index;
        }
    }
}

// Temporary fixed pieces stand in for Fixed.dat, which brings its own weapon slots; without it the
// radios give them.
void CSimulatorDlg::ReadFixedSet(CSearchCondition& condition) {
    condition.fixed.Clear();
    const CEquipSet& tempFixed = m_listSetEquip.m_tempFixed;
    if (tempFixed.IsEmpty() && IsChecked(kIdUseFixed)) {
        ReadFixedForSearch(condition.fixed, m_search.database, m_programFolder, m_sink);
        condition.weaponSlots = condition.fixed.weaponSlots;
    } else {
        std::copy(std::begin(tempFixed.pieces), std::end(tempFixed.pieces), condition.fixed.pieces);
        condition.weaponSlots = CheckedWeaponSlots();
    }
    condition.fixed.weaponSlots = condition.weaponSlots;
}

void CSimulatorDlg::ReadExcludedLists(CSearchCondition& condition) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        condition.excluded[slot].clear();
    }
    condition.excludedDecos.clear();
    if (IsChecked(kIdUseExclude)) {
        ReadExcludedForSearch(condition, m_search.database, m_programFolder, m_sink);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto& temp = m_listSetEquip.m_tempExcluded[slot];
        condition.excluded[slot].insert(condition.excluded[slot].end(), temp.begin(), temp.end());
    }
}

// Read whether or not only owned pieces are searched: the owned lists also mark the owned pieces
// of every result.
void CSimulatorDlg::ReadOwnedLists(CSearchCondition& condition) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        condition.owned[slot].clear();
    }
    condition.ownedDecos.clear();
    ReadOwnedForSearch(condition, m_search.database, m_programFolder, m_sink);
}

void CSimulatorDlg::ReadSearchOptions(CSearchCondition& condition) const {
    condition.ownedOnly = IsChecked(kIdOwnedOnly);
    condition.maxCalc = static_cast<std::uint32_t>(std::max(m_config.m_nMaxCalc, 0));
    condition.maxDisplay = static_cast<std::uint32_t>(std::max(m_config.m_nMaxDisplay, 0));
    condition.fastSearch = IsChecked(kIdFastSearch);
    condition.exactFitting = IsChecked(kIdExactFitting);
    condition.rankKey = static_cast<RankKey>(Control<QComboBox>(kIdRankKey)->currentIndex());
    condition.excludeDoubling = IsChecked(kIdNoBodyDoubling);
}

void CSimulatorDlg::ClearResultDisplay() {
    m_listSetSkills.DeleteAllItems();
    SetText(kIdSetExtras, "");
    m_listResult.SetRowCount(0);
    m_listResult.SetEmptyText("");
    m_listSetEquip.DeleteAllItems();
    // With nothing left to refine the refine mode ends, and with it the locks it put on.
    if (IsChecked(kIdRefine)) {
        SetCheck(kIdRefine, false);
        EnableForRefine(false);
    }
    for (int id : {kIdSaveFixed, kIdClip, kIdRefine, kIdSaveAll}) {
        Enable(id, false);
    }
    SetText(kIdResultCount, "検索結果 0件");
}

void CSimulatorDlg::EnableForSearch(bool searching) {
    LockOptionControls(kSearchLockedBefore, kSearchLockedAfter, searching);
    if (!searching) {
        Enable(kIdMinDefenceValue, IsChecked(kIdMinDefence));
    }
    // A search and an additional-skill search each abort with their own button; the other waits.
    Enable(kIdSearch, !searching || !m_bExtraSkillsRunning);
    Enable(kIdExtraSkills, !searching || m_bExtraSkillsRunning);
    m_bSearchLocked = searching;
    UpdateTempListStatus();
}

void CSimulatorDlg::EnableForRefine(bool refining) {
    LockOptionControls(kRefineLockedBefore, kRefineLockedAfter, refining);
}

void CSimulatorDlg::LockOptionControls(std::span<const int> before, std::span<const int> after,
                                       bool locked) {
    for (int id : before) {
        Enable(id, !locked);
    }
    for (int id : kRarityButtonIds) {
        Enable(id, !locked);
    }
    for (int id : after) {
        Enable(id, !locked);
    }
    UpdateEditCustom(locked);
}

// The equipment editor edits the lists the two boxes switch on; with neither ticked it has
// nothing to steer.
void CSimulatorDlg::UpdateEditCustom(bool locked) {
    Enable(kIdEditCustom, !locked && (IsChecked(kIdUseExclude) || IsChecked(kIdUseFixed)));
}

void CSimulatorDlg::ShowPercent(std::uint64_t percent) {
    Control<QProgressBar>(kIdProgressBar)
        ->setValue(static_cast<int>(std::min<std::uint64_t>(percent, 100)));
}

void CSimulatorDlg::UpdateProgress(std::uint64_t visited, std::uint64_t total) {
    const std::uint64_t percent = PercentDone(visited, total);
    ShowPercent(percent);
    SetText(kIdProgressText, ProgressText(visited, total, percent));

    const std::int64_t now = ui::PerfCounter();
    const std::int64_t elapsedMs =
        m_liFrequency > 0 ? (now - m_liSearchStart) * 1000 / m_liFrequency : 0;
    if (const std::optional<std::uint64_t> left = RemainingSeconds(visited, total, elapsedMs)) {
        const std::uint64_t shownMs = elapsedMs > 0 ? static_cast<std::uint64_t>(elapsedMs) : 0;
        SetText(kIdElapsed, Format("%" PRIu64 "秒経過 推定残り時間 %s\n", shownMs / 1000,
                                   ClockText(*left).c_str()));
    }
    // The additional-skill search counts skill systems; the combinations found are not its own.
    if (!m_bExtraSkillsRunning) {
        SetText(kIdResultCount, Format("組み合わせ %" PRIu32 "件", m_search.hitCount));
    }
}

SearchEnd CSimulatorDlg::JudgeFinish(std::uint64_t visited, std::uint64_t total) const {
    switch (m_finishSource) {
    case FinishSource::kSearch:
    case FinishSource::kRefine:
        return JudgeSearchEnd(m_search);
    case FinishSource::kRefused:
        return SearchEnd::kRefused;
    case FinishSource::kOutOfMemory:
        return SearchEnd::kOutOfMemory;
    case FinishSource::kFile:
        break;
    }
    return visited >= total ? SearchEnd::kComplete : SearchEnd::kPartialFile;
}

std::string CSimulatorDlg::NothingFoundText(SearchEnd end) const {
    if (m_finishSource == FinishSource::kFile || end == SearchEnd::kRefused ||
        end == SearchEnd::kOutOfMemory) {
        return {};
    }
    std::string text = end == SearchEnd::kAborted
                           ? "中断までに条件を満たす装備の組み合わせは見つかりませんでした"
                           : "条件を満たす装備の組み合わせはありません";
    if (m_condition.ownedOnly && m_condition.ownedDecos.empty()) {
        text += "\n「所持品のみ」では所持している装飾品だけを使います。"
                "所持している装飾品が登録されていません";
    }
    return text;
}

void CSimulatorDlg::OnSearchFinished(std::uint64_t visited, std::uint64_t total) {
    KillTimer(kSearchTimer);
    EnableForSearch(false);
    SetText(kIdSearch, "検索");
    const SearchEnd end = JudgeFinish(visited, total);
    ShowSearchEnd(end, visited, total);

    m_listResult.SetRowCount(0);
    KeepExtrasCondition();
    const int count = static_cast<int>(m_search.results.size());
    m_listResult.SetEmptyText(count == 0 ? NothingFoundText(end) : "");
    EnableResultButtons(count);
    SetText(kIdResultCount, Format("検索結果 %d件", count));
    FillResultList(count);
    m_listSetEquip.ClearTempLists();
    // An empty search that examined everything tells what stands in the way.
    if (count == 0 && m_finishSource == FinishSource::kSearch && end == SearchEnd::kComplete) {
        ShowAdvice();
    }
}

// Only a search that examined everything is finished; any other end shows how far it came.
void CSimulatorDlg::ShowSearchEnd(SearchEnd end, std::uint64_t visited, std::uint64_t total) {
    const bool nothingDone = end == SearchEnd::kRefused || end == SearchEnd::kOutOfMemory;
    const std::uint64_t percent = end == SearchEnd::kComplete ? 100
                                  : nothingDone               ? 0
                                                              : PercentDone(visited, total);
    ShowPercent(percent);
    SetText(kIdProgressText, nothingDone ? "0%" : ProgressText(visited, total, percent));
    SetText(kIdElapsed, SearchEndText(end, m_condition));
}

// Without sets only the save button goes: the others were switched off when the display was
// cleared. A refine needs more than one set to choose among.
void CSimulatorDlg::EnableResultButtons(int count) {
    if (count == 0) {
        Enable(kIdSaveAll, false);
        return;
    }
    Enable(kIdClip, true);
    Enable(kIdSaveFixed, true);
    if (count != 1) {
        Enable(kIdRefine, true);
    }
    Enable(kIdSaveAll, true);
}

// One row per result with its statistics, letting the queue run every 100 sets; sorting is
// refused and the busy cursor shown meanwhile.
void CSimulatorDlg::FillResultList(int count) {
    m_bFillingResults = 1;
    OnSetCursor();
    m_listResult.m_bFilling = 1;
    m_listResult.SetRowCount(count);
    const auto& results = m_search.results;
    const auto& skills = m_search.database.Skills();
    SkillRowTable summary;
    for (int i = 0; i < count; ++i) {
        CEquipSet& set = *results[static_cast<std::size_t>(i)];
        set.number = i + 1;
        const int freeSlots =
            set.FreeArmorSlots() + set.FreeSlots(m_condition.weaponSlots, kWeaponPosition);
        const int rowCount = set.Summarize(summary, skills, m_search.database.SkillSystems());
        const SkillStatistics stats = CountSkillStatistics(summary, rowCount);
        m_listResult.SetRow(i, &set, CountOwnedPieces(set), freeSlots, stats.active,
                            stats.activeMinus, stats.maxInactive, stats.inactive);
        if (i != 0 && i % 100 == 0) {
            PumpMessages();
        }
    }
    m_listResult.m_bFilling = 0;
    if (m_listResult.GetSelectedRow() < 0) {
        m_listResult.SelectRow(0);
    }
    m_listResult.Redraw();
    m_bFillingResults = 0;
    OnSetCursor();
}

int CSimulatorDlg::CountOwnedPieces(const CEquipSet& set) const {
    int owned = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto& pieces = m_condition.owned[slot];
        if (set.pieces[slot] != nullptr &&
            std::find(pieces.begin(), pieces.end(), set.pieces[slot]) != pieces.end()) {
            ++owned;
        }
    }
    return owned;
}

void CSimulatorDlg::OnBnClickedMinDefence() {
    Enable(kIdMinDefenceValue, IsChecked(kIdMinDefence));
}

void CSimulatorDlg::OnBnClickedUseExclude() {
    UpdateEditCustom(false);
}

void CSimulatorDlg::OnBnClickedUseFixed() {
    UpdateEditCustom(false);
    UpdateTempListStatus();
    // A fixed set read from Fixed.dat brings its own weapon slots.
    for (int id : kWeaponSlotIds) {
        Enable(id, !IsChecked(kIdUseFixed));
    }
}

void CSimulatorDlg::OnBnClickedRefine() {
    // A refine adds skills on top of the listed results, so the list starts empty.
    if (IsChecked(kIdRefine)) {
        Control<ui::CReportList>(kIdChosenSkills)->DeleteAllItems();
        EnableForRefine(true);
    } else {
        EnableForRefine(false);
    }
}

void CSimulatorDlg::OnDblclkSetSkills() {
    const int selected = m_listSetSkills.GetSelectedRow();
    if (selected < 0) {
        return;
    }
    const std::string name = m_listSetSkills.GetItemText(selected, kSetSkillName).substr(0, 63);
    const auto& skills = m_search.database.Skills();
    for (std::size_t i = 0; i < skills.size(); ++i) {
        const CSkillData& skill = *skills[i];
        if (skill.threshold < 0 && name == skill.skillName) {
            SetCheck(kIdRefine, true);
            OnBnClickedRefine();
            InsertChosenSkill(0, static_cast<int>(i));
        }
    }
}
