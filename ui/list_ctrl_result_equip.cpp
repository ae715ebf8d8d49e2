#include "ui/list_ctrl_result_equip.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "lists/excluded_list_file.h"
#include "res/menus.h"
#include "ui/equip_info_dlg.h"
#include "ui/framework/prompter_sink.h"
#include "ui/framework/resource_menu.h"
#include "ui/view_temp_list.h"

CListCtrlResultEquip::CListCtrlResultEquip(QWidget* parent) : ui::CReportList(parent) {}

void CListCtrlResultEquip::ClearTempLists() {
    for (auto& pieces : m_tempExcluded) {
        pieces.clear();
    }
    m_tempFixed.Clear();
    Q_EMIT tempListsChanged();
}

int CListCtrlResultEquip::TempExcludedCount() const {
    std::size_t count = 0;
    for (const auto& pieces : m_tempExcluded) {
        count += pieces.size();
    }
    return static_cast<int>(count);
}

int CListCtrlResultEquip::TempFixedCount() const {
    return static_cast<int>(
        std::count_if(std::begin(m_tempFixed.pieces), std::end(m_tempFixed.pieces),
                      [](const CEquipData* piece) { return piece != nullptr; }));
}

CEquipData* CListCtrlResultEquip::SelectedPiece() const {
    const int row = GetSelectedRow();
    if (row < 0 || row >= kSlotCount) {
        return nullptr;
    }
    return reinterpret_cast<CEquipData*>(GetItemData(row));
}

bool CListCtrlResultEquip::TempListsEmpty() const {
    return m_tempFixed.IsEmpty() &&
           std::all_of(std::begin(m_tempExcluded), std::end(m_tempExcluded),
                       [](const std::vector<CEquipData*>& pieces) { return pieces.empty(); });
}

void CListCtrlResultEquip::OnContextMenu(const QPoint& globalPos, int /*row*/) {
    const CEquipData* piece = SelectedPiece();
    ui::Prompter* prompter = GetPrompter();
    std::unique_ptr<QMenu> menu = ui::LoadPopupMenu(res::kMenuResultEquip, this);
    if (piece == nullptr || prompter == nullptr || !menu) {
        return;
    }
    if (TempListsEmpty()) {
        ui::FindMenuCommand(*menu, res::kCmdShowTempLists)->setEnabled(false);
    }
    if (piece->materialCount[0] == 0) {
        ui::FindMenuCommand(*menu, res::kCmdShowMaterials)->setEnabled(false);
    }
    OnCommand(prompter->TrackPopupMenu(*menu, globalPos));
}

void CListCtrlResultEquip::OnCommand(int command) {
    CEquipData* piece = SelectedPiece();
    if (piece == nullptr) {
        return;
    }
    switch (command) {
    case res::kCmdAppendExcluded:
        if (ui::Prompter* prompter = GetPrompter()) {
            ui::PrompterSink sink(*prompter);
            AppendExcludedPiece(*piece, m_programFolder, sink);
        }
        break;
    case res::kCmdAddTempExcluded:
        AddTempExcluded(*piece);
        break;
    case res::kCmdAddTempFixed:
        AddTempFixed(*piece);
        break;
    case res::kCmdShowTempLists:
        ShowTempLists();
        break;
    case res::kCmdShowMaterials:
        if (piece->materialCount[0] != 0) {
            ShowMaterials(*piece);
        }
        break;
    default:
        break;
    }
}

void CListCtrlResultEquip::AddTempExcluded(CEquipData& piece) {
    if (piece.kind < 0 || piece.kind >= kSlotCount) {
        return;
    }
    std::vector<CEquipData*>& pieces = m_tempExcluded[piece.kind];
    if (std::find(pieces.begin(), pieces.end(), &piece) == pieces.end()) {
        pieces.push_back(&piece);
        Q_EMIT tempListsChanged();
    }
}

void CListCtrlResultEquip::AddTempFixed(CEquipData& piece) {
    if (piece.kind < 0 || piece.kind >= kSlotCount) {
        return;
    }
    m_tempFixed.pieces[piece.kind] = &piece;
    Q_EMIT tempListsChanged();
}

void CListCtrlResultEquip::ShowTempLists() {
    if (ui::Prompter* prompter = GetPrompter()) {
        CViewTempList viewer(m_tempFixed, m_tempExcluded, *prompter, window());
        viewer.DoModal();
        Q_EMIT tempListsChanged();
    }
}

void CListCtrlResultEquip::ShowMaterials(const CEquipData& piece) {
    if (ui::Prompter* prompter = GetPrompter()) {
        CEquipInfoDlg info(*prompter, window());
        info.m_pEquip = &piece;
        info.DoModal();
    }
}
