#include "ui/view_temp_list.h"

#include <algorithm>

#include "engine/tables/sjis_text.h"
#include "res/dialog_139.h"
#include "ui/framework/report_list.h"
#include "ui/list_ctrl_equip.h"

using namespace res::temp_list;

namespace {

// Kind, rarity, name, defence and slot marks, as the browser lists show a piece.
void FillPieceColumns(ui::CReportList& list, int row, const CEquipData& piece, bool withKind) {
    for (int column = withKind ? 0 : 1; column < 5; ++column) {
        list.SetItemText(row, column, ArmourHeadText(piece, column));
    }
    list.SetItemData(row, reinterpret_cast<std::uintptr_t>(&piece));
}

} // namespace

CViewTempList::CViewTempList(CEquipSet& tempFixed,
                             std::vector<CEquipData*> (&tempExcluded)[kSlotCount],
                             ui::Prompter& prompter, QWidget* parent)
    : ui::CTemplateDialog(res::kDialog139, prompter, parent), m_pTempFixed(&tempFixed) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        m_pTempExcluded[slot] = &tempExcluded[slot];
    }
    OnClicked(kIdClearExcluded, [this] { OnBnClickedClearExcluded(); });
    OnClicked(kIdClearFixed, [this] { OnBnClickedClearFixed(); });
    OnClicked(kIdOk, [this] { EndDialog(ui::kIdOk); });
    connect(Control<ui::CReportList>(kIdFixed), &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkFixed(); });
    connect(Control<ui::CReportList>(kIdExcluded), &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkExcluded(); });
}

bool CViewTempList::OnInitDialog() {
    CreateColumns();
    auto* fixed = Control<ui::CReportList>(kIdFixed);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        fixed->InsertItem(slot, sjis::kSlotLabels[slot]);
        if (const CEquipData* piece = m_pTempFixed->pieces[slot]) {
            FillPieceColumns(*fixed, slot, *piece, false);
        }
    }
    auto* excluded = Control<ui::CReportList>(kIdExcluded);
    for (const std::vector<CEquipData*>* pieces : m_pTempExcluded) {
        for (const CEquipData* piece : *pieces) {
            FillPieceColumns(*excluded, excluded->InsertItem(excluded->GetItemCount(), ""), *piece,
                             true);
        }
    }
    UpdateCount();
    return true;
}

void CViewTempList::CreateColumns() {
    constexpr auto L = ui::CReportList::kLeft;
    constexpr auto R = ui::CReportList::kRight;
    auto* fixed = Control<ui::CReportList>(kIdFixed);
    auto* excluded = Control<ui::CReportList>(kIdExcluded);
    const char* const headers[5] = {"部", "レア", "名前", "防御", "スロット"};
    const int widths[5] = {30, 30, 130, 30, 50};
    for (int column = 0; column < 5; ++column) {
        const auto align = column == 1 || column == 3 ? R : L;
        fixed->InsertColumn(column, headers[column], widths[column], align);
        excluded->InsertColumn(column, headers[column], widths[column], align);
    }
    for (int column = 5; column < 8; ++column) {
        fixed->InsertColumn(column, "", 50, L);
    }
}

void CViewTempList::UpdateCount() {
    const int count = Control<ui::CReportList>(kIdExcluded)->GetItemCount();
    SetText(kIdExcludedCount, "一時除外装備 " + std::to_string(count) + "件");
}

void CViewTempList::OnBnClickedClearExcluded() {
    Control<ui::CReportList>(kIdExcluded)->DeleteAllItems();
    for (std::vector<CEquipData*>* pieces : m_pTempExcluded) {
        pieces->clear();
    }
    UpdateCount();
}

void CViewTempList::EmptyFixedRow(int row) {
    auto* fixed = Control<ui::CReportList>(kIdFixed);
    for (int column = 1; column < 5; ++column) {
        fixed->SetItemText(row, column, "");
    }
    fixed->SetItemData(row, 0);
    m_pTempFixed->pieces[row] = nullptr;
}

void CViewTempList::OnBnClickedClearFixed() {
    for (int row = 0; row < kSlotCount; ++row) {
        EmptyFixedRow(row);
    }
}

void CViewTempList::OnDblclkFixed() {
    const int row = Control<ui::CReportList>(kIdFixed)->GetSelectedRow();
    if (row >= 0 && row < kSlotCount) {
        EmptyFixedRow(row);
    }
}

void CViewTempList::OnDblclkExcluded() {
    auto* excluded = Control<ui::CReportList>(kIdExcluded);
    const int row = excluded->GetSelectedRow();
    const auto* piece = reinterpret_cast<const CEquipData*>(excluded->GetItemData(row));
    if (row < 0 || piece == nullptr) {
        return;
    }
    excluded->DeleteItem(row);
    UpdateCount();
    if (piece->kind >= 0 && piece->kind < kSlotCount) {
        std::vector<CEquipData*>& pieces = *m_pTempExcluded[piece->kind];
        const auto found = std::find(pieces.begin(), pieces.end(), piece);
        if (found != pieces.end()) {
            pieces.erase(found);
        }
    }
}
