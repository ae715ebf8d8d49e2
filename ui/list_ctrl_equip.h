#pragma once

#include <QPen>
#include <cstdint>
#include <vector>

#include "engine/tables/records.h"
#include "engine/tables/skill_systems.h"
#include "ui/framework/report_list.h"

// One row of a CListCtrlEquip: an armour piece or a decoration of the loaded tables.
struct EquipRow {
    std::int32_t bArmour = 0;
    const void* pRecord = nullptr;

    const CEquipData* Armour() const {
        return bArmour ? static_cast<const CEquipData*>(pRecord) : nullptr;
    }
    const CDecoData* Deco() const {
        return bArmour ? nullptr : static_cast<const CDecoData*>(pRecord);
    }
};

// A virtual table of armour pieces and decorations with a grid and a column sort. It keeps only
// the record pointers and formats each cell when the view asks for it, so whole tables fit.
class CListCtrlEquip : public ui::CReportList {
    Q_OBJECT
public:
    // Columns: kind, rarity, name, defence, slots, then a system and its points for each of the
    // five skill entries, then the five resistances.
    enum Column : int {
        kColKind,
        kColRarity,
        kColName,
        kColDefence,
        kColSlots,
        kColFirstSkill,
        kColFirstResist = kColFirstSkill + 2 * 5,
        kColumnCount = kColFirstResist + 5,
    };

    explicit CListCtrlEquip(QWidget* parent = nullptr);

    // The names the skill columns show; they must outlive the list's rows.
    void SetSkillSystems(const CSkillSystems& systems) { m_pSystems = &systems; }

    void SetRowCount(int count);
    void SetRow(int index, bool armour, const void* record);
    void DeleteRow(int index);
    void SortByColumn(int column);

    const EquipRow* Row(int index) const;
    int RowCount() const { return static_cast<int>(m_pRows.size()); }

    // The direction of the next sort, shared by every list of this class: true for ascending.
    static bool NextSortAscending();

    int m_nColumns = 0;

protected:
    std::string OwnerDataText(int row, int column) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    const CSkillSystems* m_pSystems;
    QPen m_penGrid;
    std::vector<EquipRow> m_pRows;
};

// Cell texts (Shift-JIS) of the two kinds of rows in every column but the skill columns; exposed
// for the dialogs that show the same.
std::string ArmourHeadText(const CEquipData& piece, int column);
std::string DecoHeadText(const CDecoData& deco, int column);
