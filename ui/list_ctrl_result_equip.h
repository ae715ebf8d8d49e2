#pragma once

#include <string>
#include <vector>

#include "engine/sets/equip_set.h"
#include "engine/tables/records.h"
#include "ui/framework/report_list.h"

// The set-equipment list of the main window (control 1003): the pieces of the selected set. It
// also keeps the temporary lists that steer the next search only: a temporary fixed set (its five
// piece pointers) and a temporary excluded list per slot. They point into the loaded tables and
// own nothing.
//
// A right click on one of the five armour rows offers menu 138: the piece into Exclude.dat, into
// either temporary list, the viewer of the temporary lists and the piece's materials.
class CListCtrlResultEquip : public ui::CReportList {
    Q_OBJECT
public:
    // Columns: rarity, name, defence, the five resistances, the slot marks, three decorations.
    enum Column : int {
        kColRarity,
        kColName,
        kColDefence,
        kColFirstResist,
        kColSlots = kColFirstResist + 5,
        kColFirstDeco,
    };

    explicit CListCtrlResultEquip(QWidget* parent = nullptr);

    // Empties both temporary lists: they serve only the search that follows their filling.
    void ClearTempLists();

    // Where Exclude.dat is; ends in '/'.
    void SetProgramFolder(std::string folder) { m_programFolder = std::move(folder); }

    // The piece of the selected row when that row is one of the five armour rows; else null.
    CEquipData* SelectedPiece() const;
    bool TempListsEmpty() const;
    // Runs a command of menu 138 on the selected armour row; nothing without one.
    void OnCommand(int command);
    void AddTempExcluded(CEquipData& piece);
    void AddTempFixed(CEquipData& piece);
    void ShowTempLists();
    void ShowMaterials(const CEquipData& piece);

    // Entries of the temporary lists: pieces excluded, pieces fixed.
    int TempExcludedCount() const;
    int TempFixedCount() const;

    CEquipSet m_tempFixed;
    std::vector<CEquipData*> m_tempExcluded[kSlotCount];

Q_SIGNALS:
    // The temporary lists may hold other entries now.
    void tempListsChanged();

protected:
    void OnContextMenu(const QPoint& globalPos, int row) override;

private:
    std::string m_programFolder;
};
