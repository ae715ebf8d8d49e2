#pragma once

#include <vector>

#include "engine/sets/equip_set.h"
#include "engine/tables/records.h"
#include "ui/framework/template_dialog.h"

// The temporary list viewer (dialog 139): the temporarily excluded pieces and the temporarily
// fixed pieces of the set-equipment list, edited in place: a removal takes effect at once.
class CViewTempList : public ui::CTemplateDialog {
    Q_OBJECT
public:
    CViewTempList(CEquipSet& tempFixed, std::vector<CEquipData*> (&tempExcluded)[kSlotCount],
                  ui::Prompter& prompter, QWidget* parent = nullptr);

    void OnBnClickedClearExcluded();
    void OnBnClickedClearFixed();
    void OnDblclkFixed();
    void OnDblclkExcluded();

    CEquipSet* m_pTempFixed;
    std::vector<CEquipData*>* m_pTempExcluded[kSlotCount];

protected:
    bool OnInitDialog() override;

private:
    void CreateColumns();
    void UpdateCount();
    void EmptyFixedRow(int row);
};
