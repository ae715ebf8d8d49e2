#pragma once

#include <vector>

#include "engine/equip_set.h"
#include "engine/records.h"
#include "ui/framework/report_list.h"

// The set-equipment list of the main window (control 1003): the pieces of the selected set. It
// also keeps the temporary lists that steer the next search only: a temporary fixed set (its five
// piece pointers) and a temporary excluded list per slot. They point into the loaded tables and
// own nothing.
class CListCtrlResultEquip : public ui::CReportList {
    Q_OBJECT
public:
    explicit CListCtrlResultEquip(QWidget* parent = nullptr);

    // Empties both temporary lists: they serve only the search that follows their filling.
    void ClearTempLists();

    CEquipSet m_tempFixed;
    std::vector<CEquipData*> m_tempExcluded[kSlotCount];
};
