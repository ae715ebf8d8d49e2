#pragma once

#include "engine/tables/records.h"
#include "ui/framework/template_dialog.h"

// The production materials dialog (dialog 137): the materials one armour piece is made of, with
// their counts, in the order of the armour table. The caller sets m_pEquip before showing it.
class CEquipInfoDlg : public ui::CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kMaterialSlots = 5;

    explicit CEquipInfoDlg(ui::Prompter& prompter, QWidget* parent = nullptr);

    // The materials to show: they end at the first one without a name or a count.
    static int MaterialCount(const CEquipData& piece);

    const CEquipData* m_pEquip = nullptr;

protected:
    bool OnInitDialog() override;
};
