#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "engine/tables/equip_database.h"
#include "engine/tables/records.h"
#include "ui/framework/template_dialog.h"
#include "ui/list_ctrl_equip.h"

// What the candidate browsers of the equipment dialogs share: their filters, the rows that pass
// them and the skill-system box. Both dialogs give their filter controls the same ids.
namespace equip_browser {

// Categories besides the five slots 0..4.
constexpr int kAllKinds = -1;
constexpr int kDecoCategory = kDecoKind;

// Zero (or -1) in a field lets everything through; `tiers` has bit t for decoration tier t.
struct Filter {
    int sex = 0; // 1 male, 2 female
    int job = 0; // 1 blade, 2 gunner
    int rarity = -1;
    int skill = -1;
    unsigned tiers = 7;
    std::string name; // Shift-JIS, found anywhere in the record's name

    bool Passes(const CEquipData& piece) const;
    bool Passes(const CDecoData& deco) const;
};

// The armour arrays of the five slots and the decoration array to pick from.
struct Sources {
    const std::vector<CEquipData*>* armour[kSlotCount] = {};
    const std::vector<CDecoData*>* decos = nullptr;
};

// The records of the category that pass the filter: armour first, slot by slot, then the
// decorations, each array in its own order.
std::vector<EquipRow> CollectRows(const Filter& filter, int category, const Sources& sources);

// Hands the rows to the list and selects its first row.
void ShowRows(CListCtrlEquip& list, const std::vector<EquipRow>& rows);

// The 20 columns of a browser list.
void CreateEquipColumns(CListCtrlEquip& list);

// The category of seven radios "すべて", "頭" … "脚", "装飾品".
int CategoryOf(const ui::CTemplateDialog& dialog, const int (&radioIds)[7]);
// 1, 2 or 0 for the first, second or third radio of a group.
int ChoiceOf(const ui::CTemplateDialog& dialog, int first, int second);
// Name filter of an edit: its text in Shift-JIS.
std::string NameFilterOf(const ui::CTemplateDialog& dialog, int editId);
// The value of the selected item of a drop-down list, -1 without one.
int SelectedValue(const ui::CTemplateDialog& dialog, int comboId);

// "すべて" (-1), each skill system of the skill table once with its id, in table order, then
// "胴系倍加"; the first item selected.
void FillSkillSystemBox(QComboBox& box, const CEquipDatabase& database);

// The background of every other row of a browser list.
ui::CReportList::CellColors ShadedRow(int row);

// Widens `count` columns from `first` on so that every decoration name of the table fits whole.
void FitDecorationColumns(ui::CReportList& list, int first, int count,
                          const std::vector<CDecoData*>& decos);

// The kind of a browser row: the piece's slot, or kDecoCategory for a decoration.
int KindOf(const EquipRow& row);

// The record of a browser row as the lists of the equipment files hold it; null for a row of the
// other kind. The tables hand out writable records; the browser list only keeps them read-only.
CEquipData* PieceOf(const EquipRow& row);
CDecoData* DecoOf(const EquipRow& row);

} // namespace equip_browser
