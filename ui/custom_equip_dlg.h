#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lists/excluded_rows.h"
#include "lists/fixed_rows.h"
#include "ui/equip_dialog.h"
#include "ui/framework/report_list.h"
#include "ui/list_ctrl_category.h"
#include "ui/list_ctrl_ex.h"
#include "ui/refused_file_keeper.h"

// The fixed and excluded equipment dialog (dialog 129): a candidate browser over the loaded tables
// above, the excluded list, the fixed set with its weapon slots and the fixed set's skill totals
// below. Both lists come from Fixed.dat and Exclude.dat at every opening and go back only by OK.
//
// The main window keeps one object and shows it as often as the user asks; each showing brings
// every control back to its first state, so nothing of an earlier showing leaks into the next.
// The handlers are split by concern: opening and closing in custom_equip_dlg.cpp, the candidate
// browser in custom_equip_dlg_candidates.cpp, the excluded list in custom_equip_dlg_excluded.cpp,
// the fixed set in custom_equip_dlg_fixed.cpp, the totals and the clipboard text in
// custom_equip_dlg_totals.cpp. Handlers are public so that tests can drive the dialog.
class CCustomEquipDlg : public CEquipDialog, public CListCtrlExOwner {
    Q_OBJECT
public:
    // Categories of the candidate browser besides the five slots.
    static constexpr int kAllKinds = -1;
    static constexpr int kDecoCategory = kDecoKind;
    static constexpr int kFixedRowCount = kPositionCount;
    // The fixed list's decorations follow the columns it shares with the candidates.
    static constexpr int kFixedFirstDeco = CListCtrlEquip::kColSlots + 1;

    // `programFolder` ends in '/': Fixed.dat and Exclude.dat are read and written there.
    CCustomEquipDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent = nullptr);

    // Controls to their first state, then the lists from Fixed.dat and Exclude.dat.
    void Open() override;

    // --- Candidate browser (custom_equip_dlg_candidates.cpp) ---
    void FillSkillBox();
    void RefreshCandidates();
    // kAllKinds, a slot 0..4 or kDecoCategory, from the category radios.
    int SelectedCategory() const;
    void OnDblclkCandidates(bool ctrlHeld);

    // --- Excluded list (custom_equip_dlg_excluded.cpp) ---
    void OnBnClickedAddExcluded();
    void OnBnClickedExcludeAll();
    void OnDblclkExcluded();
    void OnBnClickedClearExcluded();
    void OnBnClickedLoadExcluded(bool add);
    void OnBnClickedSaveExcluded();
    void UpdateExcludedCount();
    // Every header click of the dialog flips the excluded list's direction; the excluded and the
    // candidate list also sort.
    void OnHeaderClick(const ui::CReportList& list, int column);
    static bool ExcludedSortAscending();
    // Without a path the file of the program folder is used.
    bool SaveExcludedList(const std::optional<std::string>& path = std::nullopt);
    bool LoadExcludedList(bool add, const std::optional<std::string>& path = std::nullopt);

    // --- Fixed set (custom_equip_dlg_fixed.cpp) ---
    void OnBnClickedAddFixed();
    void OnBnClickedAttach();
    void OnBnClickedDetach();
    void OnDblclkFixed();
    void OnCbnSelchangeWeaponSlots();
    void OnBnClickedClearFixed();
    void OnBnClickedLoadFixed();
    void OnBnClickedSaveFixed();
    void UpdateButtons();
    void ResetFixedRow(int row, int slots);
    // Puts the decoration into the row when its free slots hold it.
    void AttachDecoration(int row, CDecoData* deco);
    bool SaveFixedSet(const std::optional<std::string>& path = std::nullopt);
    bool LoadFixedSet(const std::optional<std::string>& path = std::nullopt);

    // --- Totals and clipboard (custom_equip_dlg_totals.cpp) ---
    void RecalcTotals() override;
    ui::CReportList::CellColors OnCustomdrawTotals(int row, int column) const;
    void CopyFixedToClipboard();
    // The clipboard text of the fixed set, Shift-JIS.
    std::string BuildFixedText() const;

    void OnBnClickedOk();
    // The cancel button, Esc and the close box keep the files as they are.
    void OnCancel() override;

    ui::CReportList& ExcludedList() const;

    // Members. m_fixed holds the decorations and free slots of the six fixed rows and the weapon's
    // slot count; m_excluded the rows of the excluded list 1039, in the list's order.
    std::int32_t m_bBodyDoublingShown = 0;
    CListCtrlEx m_listFixed;
    CListCtrlCategory m_listTotals;
    FixedRows m_fixed;
    ExcludedRows m_excluded;

protected:
    void OnSetData(const CEquipDatabase& database) override;

private:
    void ConnectMessageMap();
    void ConnectLists();
    void CreateColumns();
    void ResetControls();
    void CreateFixedRows();
    void StoreRadios() const;

    // Candidates.
    void EnableForCategory(int category);

    // Excluded list.
    void AddExcluded(const EquipRow& candidate);
    void AppendExcludedRow(const ExcludedRow& row);
    void FillExcludedList();
    void SortExcluded(int column);

    // Fixed set.
    void PutIntoFixedSet(const EquipRow& candidate);
    void RemoveFromFixedRow(int row);
    void ShowFixedRow(int row);
    void ShowAllFixedRows();
    CEquipSet FixedAsSet() const;

    // Whether the fixed set or the excluded list differs from what the opening read.
    bool EditsChanged() const;
    CEquipSet m_openedFixed;
    ExcludedRows m_openedExcluded;

    RefusedFileKeeper m_fixedFile;
    RefusedFileKeeper m_excludedFile;
    bool m_bWeaponLabel = false;
};
