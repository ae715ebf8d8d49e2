#include "ui/list_ctrl_ex.h"

CListCtrlEx::CListCtrlEx(QWidget* parent) : ui::CReportList(parent) {
    connect(this, &ui::CReportList::itemChanged, this, &CListCtrlEx::OnItemChanged);
}

void CListCtrlEx::OnItemChanged(const ItemChange& change) {
    if (m_bNoNotify || !m_pOwner) {
        return;
    }
    const bool dataOnly = !(change.mask & kChangedState) && (change.mask & kChangedData);
    if (change.BecameSelected() || dataOnly) {
        m_pOwner->RecalcTotals();
    }
}
