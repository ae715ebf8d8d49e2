#pragma once

#include <cstdint>
#include <vector>

#include "engine/sets/equip_set.h"
#include "engine/sets/skill_summary.h"
#include "ui/framework/report_list.h"

// One row of the result list: the set it shows and the statistics its sort keys need.
struct ResultRow {
    CEquipSet* pSet = nullptr; // null in a row never filled
    std::int32_t nOwned = 0;
    std::int32_t nFreeSlots = 0;
    std::int32_t nActive = 0;      // activated skills with a total above 0
    std::int32_t nActiveMinus = 0; // activated skills with a total below 0
    std::int32_t nMaxInactive = 0; // largest total among rows that activate nothing, at least 0
    std::int32_t nInactive = 0;    // every other row of the skill summary
};

// The skill statistics of a set from the rows of its skill summary.
struct SkillStatistics {
    std::int32_t active = 0;
    std::int32_t activeMinus = 0;
    std::int32_t maxInactive = 0;
    std::int32_t inactive = 0;
};
SkillStatistics CountSkillStatistics(const SkillRowTable& rows, int rowCount);

// The result list of the main window (control 1012): an owner-data list of result sets. It keeps
// one ResultRow per set, formats the visible cells on request and reorders the rows when a header
// is clicked or a command of the sort menu (140) is chosen. The sets belong to the engine.
class CListCtrlResult : public ui::CReportList {
    Q_OBJECT
public:
    // Sort keys: 0 number, 1 defence, 2..6 the resistances, 7 free slots, 8 owned pieces, then
    // the skill statistics.
    enum SortKey : int {
        kKeyNumber = 0,
        kKeyDefence = 1,
        kKeyFirstResist = 2,
        kKeyFreeSlots = 7,
        kKeyOwned = 8,
        kKeyActive = 9,
        kKeyActiveMinus = 10,
        kKeyMaxInactive = 11,
        kKeyInactive = 12,
    };

    explicit CListCtrlResult(QWidget* parent = nullptr);

    // Replaces every row by `count` empty ones.
    void SetRowCount(int count);
    void SetRow(int index, CEquipSet* set, int owned, int freeSlots, int active, int activeMinus,
                int maxInactive, int inactive);
    const ResultRow* Row(int index) const;
    int RowCount() const { return static_cast<int>(m_pRows.size()); }
    // The set of the selected row, or null.
    CEquipSet* SelectedSet() const;

    // The header sort: the column is the key; the shared header direction flips after each sort.
    void SortByColumn(int column);
    // The menu sort by `key` in the shared menu direction.
    void SortByKey(int key);
    // A command of menu 140: sets the menu direction and sorts by its key. False for other ids.
    bool OnSortCommand(int command);

    // Directions of the next header sort and of the menu sort, shared by every result list.
    static bool HeaderSortAscending();
    static bool MenuSortAscending();

    // Set while the owner fills the rows; every sort request is refused meanwhile.
    std::int32_t m_bFilling = 0;

protected:
    std::string OwnerDataText(int row, int column) const override;
    void OnContextMenu(const QPoint& globalPos, int row) override;

private:
    void SortRows(int key, bool ascending);

    std::vector<ResultRow> m_pRows;
};
