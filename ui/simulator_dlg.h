#pragma once

#include <QIcon>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/config_data.h"
#include "engine/advisor/skill_advisor.h"
#include "engine/condition/search_condition.h"
#include "engine/search/search_host.h"
#include "engine/search/skill_search.h"
#include "platform/pump_pacer.h"
#include "ui/custom_equip_dlg.h"
#include "ui/framework/prompter_sink.h"
#include "ui/framework/report_list.h"
#include "ui/framework/template_dialog.h"
#include "ui/list_ctrl_category.h"
#include "ui/list_ctrl_result.h"
#include "ui/list_ctrl_result_equip.h"
#include "ui/own_dlg.h"
#include "ui/search_end.h"

// The main window (dialog 102). It owns the engine with the loaded tables, the condition of the
// last search, the configuration and the detail lists, and it is the window the engine posts to.
//
// The handlers are split by concern over several files: start-up and window plumbing in
// simulator_dlg.cpp, skill selection in simulator_dlg_skills.cpp, the search in
// simulator_dlg_search.cpp, the result display and file buttons in simulator_dlg_results.cpp, the
// clipboard text in simulator_dlg_export.cpp, the equipment dialogs in simulator_dlg_equipment.cpp,
// the skill advisor's answers in simulator_dlg_advisor.cpp.
// Members and handlers are public so that tests can drive the window the way the user does.
class CSimulatorDlg : public ui::CTemplateDialog, public SearchHost {
    Q_OBJECT
public:
    static constexpr int kSearchTimer = 1000;
    static constexpr int kSearchTimerMs = 250;
    // End code of a start-up whose tables could not be loaded.
    static constexpr int kLoadFailed = 1;

    // Columns of the chosen-skill list 1009: the "除" box, then the skill as the skill list shows
    // it.
    enum ChosenColumn : int { kChosenExcluded, kChosenSystem, kChosenSkill, kChosenPoints };
    // Columns of the set-skill list: the system, its points from the weapon and each slot, the
    // total and the skill it activates.
    enum SetSkillColumn : int {
        kSetSkillSystem,
        kSetSkillWeapon,
        kSetSkillFirstSlot,
        kSetSkillTotal = kSetSkillFirstSlot + kSlotCount,
        kSetSkillName,
    };

    // `programFolder` ends in '/': Config.dat, the list files and data/ are found there.
    CSimulatorDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent = nullptr);
    // Config.dat and the list files in `programFolder`, the tables in `dataFolder` (both ending
    // in '/').
    CSimulatorDlg(std::string programFolder, std::string dataFolder, ui::Prompter& prompter,
                  QWidget* parent = nullptr);
    ~CSimulatorDlg() override;

    // SearchHost: the engine's messages arrive as queued events; pumping runs pending events, at
    // pumps some milliseconds apart rather than at every one.
    void Post(unsigned message, std::uint64_t visited, std::uint64_t total) override;
    void PumpMessages() override;

    const std::string& ProgramFolder() const { return m_programFolder; }

    // --- Start-up and window (simulator_dlg.cpp; also OnTimer and OnMessage below) ---
    void InitControls();
    // Copies the control states into m_config: at every search start and at closing.
    void SaveControlsToConfig();
    // Applies the cursor for m_bFillingResults: the busy arrow while it is 1, the normal one
    // otherwise. Whoever changes the flag calls this.
    void OnSetCursor();

    // --- Skill selection (simulator_dlg_skills.cpp) ---
    void FillSkillList();
    void OnCbnSelchangeCategory();
    void OnBnClickedWeaponType();
    void OnDblclkSkillList();
    // Puts the skill-table row `skillIndex` on the chosen-skill list, in place of a chosen level of
    // its system; nothing when the list already holds it or is full.
    void AddChosenSkill(int skillIndex);
    void OnKeydownSkillList(int key);
    void OnDblclkChosenSkills();
    void OnKeydownChosenSkills(int key);
    void OnBnClickedClearSkills();
    void OnBnClickedExactFitting();
    // Rows the chosen-skill list takes: ten with "完全検索", five without.
    int ChosenSkillLimit() const;
    // 1 for "剣士" (1006 ticked), 2 for "ガンナー".
    int CurrentWeaponType() const;
    // Appends a row to the chosen-skill list 1009; texts are Shift-JIS. Ticks it when `points`
    // reads as a negative number. Returns the new row.
    int AppendChosenSkill(int skillIndex, std::string_view systemName, std::string_view skillName,
                          std::string_view points);
    // Inserts the skill-table row `skillIndex` into 1009 at `row` with its own texts.
    int InsertChosenSkill(int row, int skillIndex);
    bool IsSkillIndex(int skillIndex) const;

    // --- Search control (simulator_dlg_search.cpp) ---
    void OnBnClickedSearch();
    void OnSearchFinished(std::uint64_t visited, std::uint64_t total);
    void OnBnClickedMinDefence();
    void OnBnClickedUseExclude();
    void OnBnClickedUseFixed();
    void OnBnClickedRefine();
    void OnDblclkSetSkills();
    // The condition the controls, the list files and the temporary lists describe.
    void BuildCondition(CSearchCondition& condition);
    // Keeps what a started search read for the next start: its skills among the recent ones of
    // its weapon type, and the controls in m_config.
    void RememberCondition(const CSearchCondition& condition);
    void ClearResultDisplay();
    void EnableForSearch(bool searching);
    void EnableForRefine(bool refining);
    void UpdateProgress(std::uint64_t visited, std::uint64_t total);
    int CountOwnedPieces(const CEquipSet& set) const;
    // Runs the search or refine of m_condition; false when it ran out of memory.
    bool RunSearchWithinMemory(bool refine);
    // Ends a search, a filling or a load that ran out of memory (simulator_dlg_memory.cpp).
    void EndForLackOfMemory();
    // How the search, refine or file load that OnSearchFinished completes came to its end.
    SearchEnd JudgeFinish(std::uint64_t visited, std::uint64_t total) const;
    // The words across an empty result list after a search that found nothing.
    std::string NothingFoundText(SearchEnd end) const;

    // --- Result display and file buttons (simulator_dlg_results.cpp) ---
    void OnResultItemChanged(const ui::CReportList::ItemChange& change);
    void OnHeaderItemClick(const ui::CReportList& list, int column);
    ui::CReportList::CellColors OnCustomdrawResult(int row, int column) const;
    ui::CReportList::CellColors OnCustomdrawSetEquip(int row, int column) const;
    ui::CReportList::CellColors OnCustomdrawSetSkills(int row, int column) const;
    void OnBnClickedLoad();
    void OnBnClickedSaveAll();
    void OnBnClickedSaveFixed();
    void OnBnClickedEditCustom();
    void OnBnClickedEditOwn();
    void OnBnClickedConfig();
    void OnDblclkSetEquip();
    void ShowSetDetails();
    // "一時リスト参照" of the window, for the temporary lists that steer the next search.
    void OnBnClickedTempLists();
    // Shows how many entries the temporary lists hold and offers their viewer when they hold any.
    void UpdateTempListStatus();

    // --- Skill advisor (simulator_dlg_advisor.cpp) ---
    // "追加スキル検索": runs like a search (progress, "中断"), then lists the levels that could be
    // added to the condition.
    void OnBnClickedExtraSkills();
    // The "追加可能" line of the selected set, against the condition its search kept.
    void ShowSetExtras(const CEquipSet& set);
    // Keeps the condition the listed sets meet, for their "追加可能" line.
    void KeepExtrasCondition();
    // After a complete search that found nothing: counts, as a search of its own with progress
    // and "中断", how many sets each chosen skill or limit keeps out, and adds the lines to the
    // empty list's text. An abort leaves the search's results and status as they were.
    void ShowAdvice();
    // The timer's display while the advice runs: the running count's progress and how many are
    // done.
    void ShowAdviceProgress();

    // --- Text export (simulator_dlg_export.cpp) ---
    void OnBnClickedClip();
    void CopySetToClipboard();
    void BuildSetText(char* destination, int capacity) const;

    // Members, in order of construction.
    const std::string m_programFolder;
    const std::string m_dataFolder;
    ui::PrompterSink m_sink; // the engine's and the list files' messages
    QIcon m_hIcon;
    int m_bBodyDoublingShown = 0;
    CListCtrlResult m_listResult;
    CListCtrlResultEquip m_listSetEquip;
    CListCtrlCategory m_listSetSkills;
    CCustomEquipDlg m_dlgCustomEquip{m_programFolder, GetPrompter(), this};
    COwnDlg m_dlgOwn{m_programFolder, GetPrompter(), this};
    CSkillSearch m_search;
    CSearchCondition m_condition;
    CConfigData m_config;
    int m_bFillingResults = 0;
    std::int64_t m_liFrequency = 0;
    std::int64_t m_liSearchStart = 0;
    platform::PumpPacer m_pumpPacer;

protected:
    bool OnInitDialog() override;
    void OnClose() override;
    void OnTimer(int id) override;
    void OnMessage(unsigned message, std::uint64_t wParam, std::uint64_t lParam) override;
    // Escape and Enter are swallowed everywhere in the window; Enter in the skill list adds the
    // highlighted skill.
    bool PreTranslateKey(QObject* target, const QKeyEvent& event) override;

private:
    void ConnectMessageMap();
    void ConnectListNotifications();
    void InitOptionControls();
    void InitRankKeyControl();
    void InitToolTips();
    void InitSkillControls();
    void InitResultColumns();
    void RestoreChosenSkills();
    // The count of the ticked weapon-slot radio; 3 when none of "0" to "2" is ticked.
    int CheckedWeaponSlots() const;

    // The parts of BuildCondition (simulator_dlg_search.cpp).
    void ReadChosenSkills(CSearchCondition& condition) const;
    void ReadFixedSet(CSearchCondition& condition);
    void ReadExcludedLists(CSearchCondition& condition);
    void ReadOwnedLists(CSearchCondition& condition);
    void ReadSearchOptions(CSearchCondition& condition) const;

    // Switches the controls a search or a refine locks: `before` and `after` with the rarity
    // buttons between them, and the equipment editor.
    void LockOptionControls(std::span<const int> before, std::span<const int> after, bool locked);
    // The equipment editor is usable when not locked and one of its two boxes is ticked.
    void UpdateEditCustom(bool locked);

    // The parts of OnSearchFinished.
    void ShowPercent(std::uint64_t percent);
    void ShowSearchEnd(SearchEnd end, std::uint64_t visited, std::uint64_t total);
    void EnableResultButtons(int count);
    void FillResultList(int count);

    // What the next completion message finishes.
    enum class FinishSource { kSearch, kRefine, kRefused, kFile, kOutOfMemory };

    bool m_busyCursorShown = false;
    // Whether the engine posted its completion since the search button started it.
    bool m_finishPosted = false;
    FinishSource m_finishSource = FinishSource::kSearch;
    // Set by EnableForSearch while the controls of a running search are locked.
    bool m_bSearchLocked = false;
    // While "追加スキル検索" runs in place of a search.
    bool m_bExtraSkillsRunning = false;
    SearchProgress m_extraProgress;
    // The condition every listed set meets; none for sets read from a file.
    std::optional<CSearchCondition> m_extrasCondition;
    // While the advice after an empty search runs, and how far it has come.
    bool m_bAdviceRunning = false;
    AdviceProgress m_adviceProgress;
    // A search, the additional-skill search or the advice: each reads the tables and may pump.
    bool EngineBusy() const {
        return m_search.running != 0 || m_bExtraSkillsRunning || m_bAdviceRunning;
    }
    void AbortEveryRun();

    // The search's own progress area, kept while the advisor shows its runs there.
    struct ProgressDisplay {
        int bar = 0;
        std::string progress;
        std::string elapsed;
        std::string count;
    };
    ProgressDisplay KeepProgressDisplay() const;
    void RestoreProgressDisplay(const ProgressDisplay& shown);
    // "追加スキル検索" as a locked run with progress and "中断": the levels that could be added,
    // none when aborted. The search's progress area is given back afterwards.
    std::optional<std::vector<int>> RunExtraSkillsSearch();
};
