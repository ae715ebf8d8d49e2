#include "ui/list_ctrl_result_equip.h"

CListCtrlResultEquip::CListCtrlResultEquip(QWidget* parent) : ui::CReportList(parent) {}

void CListCtrlResultEquip::ClearTempLists() {
    for (auto& pieces : m_tempExcluded) {
        pieces.clear();
    }
    m_tempFixed.Clear();
}
