#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "engine/tables/sjis_text.h"
#include "lists/excluded_list_file.h"
#include "res/dialog_129.h"
#include "ui/custom_equip_dlg.h"
#include "ui/equip_browser.h"
#include "ui/list_file_dialogs.h"

using namespace res::custom_equip;

namespace {

using Col = CListCtrlEquip;

// Shared by every showing of the dialog, like the list's own header arrow would be.
bool g_excludedAscending = true;

std::string ExcludedCell(const ExcludedRow& row, int column) {
    if (column == Col::kColKind) {
        return row.kindText;
    }
    if (row.piece != nullptr) {
        return ArmourHeadText(*row.piece, column);
    }
    return row.deco != nullptr ? DecoHeadText(*row.deco, column) : std::string();
}

const void* RecordOf(const ExcludedRow& row) {
    return row.piece != nullptr ? static_cast<const void*>(row.piece) : row.deco;
}

int KindNumber(const std::string& kindText) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (kindText == sjis::kSlotLabels[slot]) {
            return slot;
        }
    }
    return kSlotCount;
}

int Compare(int a, int b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// Kinds in slot order, rarity and defence by value, names and slot marks byte by byte.
int CompareExcluded(const ExcludedRow& a, const ExcludedRow& b, int column) {
    const std::string left = ExcludedCell(a, column);
    const std::string right = ExcludedCell(b, column);
    switch (column) {
    case Col::kColKind:
        return Compare(KindNumber(left), KindNumber(right));
    case Col::kColRarity:
    case Col::kColDefence:
        return Compare(std::atoi(left.c_str()), std::atoi(right.c_str()));
    default:
        return left.compare(right);
    }
}

} // namespace

bool CCustomEquipDlg::ExcludedSortAscending() {
    return g_excludedAscending;
}

void CCustomEquipDlg::AppendExcludedRow(const ExcludedRow& row) {
    ui::CReportList& list = ExcludedList();
    const int index = list.InsertItem(list.GetItemCount(), row.kindText);
    for (int column = Col::kColRarity; column <= Col::kColSlots; ++column) {
        list.SetItemText(index, column, ExcludedCell(row, column));
    }
    list.SetItemData(index, reinterpret_cast<std::uintptr_t>(RecordOf(row)));
}

void CCustomEquipDlg::FillExcludedList() {
    ExcludedList().DeleteAllItems();
    for (const ExcludedRow& row : m_excluded) {
        AppendExcludedRow(row);
    }
}

void CCustomEquipDlg::AddExcluded(const EquipRow& candidate) {
    CEquipData* piece = equip_browser::PieceOf(candidate);
    CDecoData* deco = equip_browser::DecoOf(candidate);
    if (HoldsRecord(m_excluded, piece, deco)) {
        return;
    }
    m_excluded.push_back(piece != nullptr ? MakeExcludedRow(piece) : MakeExcludedRow(deco));
    AppendExcludedRow(m_excluded.back());
}

void CCustomEquipDlg::OnBnClickedAddExcluded() {
    if (const EquipRow* candidate = SelectedCandidate()) {
        AddExcluded(*candidate);
        UpdateExcludedCount();
    }
}

void CCustomEquipDlg::OnBnClickedExcludeAll() {
    std::unordered_set<const void*> listed;
    for (const ExcludedRow& row : m_excluded) {
        listed.insert(RecordOf(row));
    }
    for (int index = 0; index < m_listCandidates.RowCount(); ++index) {
        const EquipRow* candidate = m_listCandidates.Row(index);
        if (candidate->pRecord != nullptr && listed.insert(candidate->pRecord).second) {
            AddExcluded(*candidate);
        }
    }
    UpdateExcludedCount();
}

void CCustomEquipDlg::OnDblclkExcluded() {
    ui::CReportList& list = ExcludedList();
    const int row = list.GetSelectedRow();
    if (row < 0 || row >= static_cast<int>(m_excluded.size())) {
        return;
    }
    m_excluded.erase(m_excluded.begin() + row);
    list.DeleteItem(row);
    UpdateExcludedCount();
}

void CCustomEquipDlg::OnBnClickedClearExcluded() {
    m_excluded.clear();
    ExcludedList().DeleteAllItems();
    UpdateExcludedCount();
}

void CCustomEquipDlg::UpdateExcludedCount() {
    SetText(kIdExcludedCount, "除外装備 " + std::to_string(ExcludedList().GetItemCount()) + "件");
}

void CCustomEquipDlg::OnHeaderClick(const ui::CReportList& list, int column) {
    if (&list == &ExcludedList()) {
        SortExcluded(column);
    } else if (&list == &m_listCandidates) {
        m_listCandidates.SortByColumn(column);
    }
    g_excludedAscending = !g_excludedAscending;
}

void CCustomEquipDlg::SortExcluded(int column) {
    const bool ascending = g_excludedAscending;
    std::stable_sort(m_excluded.begin(), m_excluded.end(),
                     [column, ascending](const ExcludedRow& a, const ExcludedRow& b) {
                         const int order = CompareExcluded(a, b, column);
                         return ascending ? order < 0 : order > 0;
                     });
    FillExcludedList();
}

void CCustomEquipDlg::OnBnClickedLoadExcluded(bool add) {
    OpenListFile(GetPrompter(), ListFileKind::kExcludedList, [this, add](const std::string& path) {
        LoadExcludedList(add, path);
        UpdateExcludedCount();
    });
}

void CCustomEquipDlg::OnBnClickedSaveExcluded() {
    SaveListFile(GetPrompter(), ListFileKind::kExcludedList,
                 [this](const std::string& path) { SaveExcludedList(path); });
}

bool CCustomEquipDlg::SaveExcludedList(const std::optional<std::string>& path) {
    return m_excludedFile.Save(path, [this](const std::string& file, platform::MessageSink& sink) {
        return ::SaveExcludedList(m_excluded, file, sink);
    });
}

bool CCustomEquipDlg::LoadExcludedList(bool add, const std::optional<std::string>& path) {
    const bool loaded =
        m_excludedFile.Load(path, [&](const std::string& file, platform::MessageSink& sink) {
            return ::LoadExcludedList(m_excluded, *m_pDatabase, add, file, sink);
        });
    if (loaded) {
        FillExcludedList();
    }
    return loaded;
}
