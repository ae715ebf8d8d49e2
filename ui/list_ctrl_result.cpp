#include "ui/list_ctrl_result.h"

#include <QHeaderView>
#include <QMenu>
#include <algorithm>
#include <string>

#include "res/menus.h"
#include "ui/framework/prompter.h"
#include "ui/framework/resource_menu.h"
#include "ui/framework/sort_arrow_style.h"

namespace {

// Process-wide, as every result list shares them: true for ascending.
bool g_headerAscending = true;
bool g_menuAscending = true;

struct SortCommand {
    int id;
    int key;
    bool ascending;
};

// "昇順" of each submenu puts the largest key first, "降順" the smallest.
constexpr SortCommand kSortCommands[] = {
    {res::kCmdSortActiveDesc, CListCtrlResult::kKeyActive, false},
    {res::kCmdSortActiveAsc, CListCtrlResult::kKeyActive, true},
    {res::kCmdSortActiveMinusDesc, CListCtrlResult::kKeyActiveMinus, false},
    {res::kCmdSortActiveMinusAsc, CListCtrlResult::kKeyActiveMinus, true},
    {res::kCmdSortMaxInactiveDesc, CListCtrlResult::kKeyMaxInactive, false},
    {res::kCmdSortMaxInactiveAsc, CListCtrlResult::kKeyMaxInactive, true},
    {res::kCmdSortInactiveDesc, CListCtrlResult::kKeyInactive, false},
    {res::kCmdSortInactiveAsc, CListCtrlResult::kKeyInactive, true},
};

int KeyOf(const ResultRow& row, int key) {
    const CEquipSet* set = row.pSet;
    if (set == nullptr) {
        return 0;
    }
    switch (key) {
    case CListCtrlResult::kKeyNumber:
        return set->number;
    case 1:
        return set->TotalDefense();
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return set->TotalResist(key - 2);
    case CListCtrlResult::kKeyFreeSlots:
        return row.nFreeSlots;
    case CListCtrlResult::kKeyOwned:
        return row.nOwned;
    case CListCtrlResult::kKeyActive:
        return row.nActive;
    case CListCtrlResult::kKeyActiveMinus:
        return row.nActiveMinus;
    case CListCtrlResult::kKeyMaxInactive:
        return row.nMaxInactive;
    case CListCtrlResult::kKeyInactive:
        return row.nInactive;
    default:
        return 0;
    }
}

} // namespace

SkillStatistics CountSkillStatistics(const SkillRowTable& rows, int rowCount) {
    SkillStatistics stats;
    const int count = std::clamp(rowCount, 0, kSkillRowCapacity);
    for (int i = 0; i < count; ++i) {
        const SkillRow& row = rows[static_cast<std::size_t>(i)];
        if (row.skillIndex < 0) {
            stats.maxInactive = std::max(stats.maxInactive, row.total);
        } else if (row.total > 0) {
            ++stats.active;
        } else if (row.total < 0) {
            ++stats.activeMinus;
        }
    }
    stats.inactive = count - stats.active - stats.activeMinus;
    return stats;
}

CListCtrlResult::CListCtrlResult(QWidget* parent) : ui::CReportList(parent) {
    SetOwnerData(true);
    auto* arrows = new ui::SortArrowStyle;
    arrows->setParent(horizontalHeader());
    horizontalHeader()->setStyle(arrows);
}

void CListCtrlResult::SetRowCount(int count) {
    m_pRows.assign(static_cast<std::size_t>(std::max(count, 0)), ResultRow{});
    SetItemCount(RowCount());
    // New rows come in result order, which no header arrow stands for; their numbers run up to
    // the count, and the number column must show the longest whole.
    horizontalHeader()->setSortIndicatorShown(false);
    FitColumnWidth(kKeyNumber, {std::to_string(RowCount())});
}

void CListCtrlResult::SetRow(int index, CEquipSet* set, int owned, int freeSlots, int active,
                             int activeMinus, int maxInactive, int inactive) {
    if (index < 0 || index >= RowCount()) {
        return;
    }
    m_pRows[static_cast<std::size_t>(index)] = {set,         owned,       freeSlots, active,
                                                activeMinus, maxInactive, inactive};
}

const ResultRow* CListCtrlResult::Row(int index) const {
    if (index < 0 || index >= RowCount()) {
        return nullptr;
    }
    return &m_pRows[static_cast<std::size_t>(index)];
}

CEquipSet* CListCtrlResult::SelectedSet() const {
    const ResultRow* row = Row(GetSelectedRow());
    return row != nullptr ? row->pSet : nullptr;
}

bool CListCtrlResult::HeaderSortAscending() {
    return g_headerAscending;
}

bool CListCtrlResult::MenuSortAscending() {
    return g_menuAscending;
}

void CListCtrlResult::SortByColumn(int column) {
    if (m_bFilling) {
        return;
    }
    SortRows(column, g_headerAscending);
    QHeaderView* header = horizontalHeader();
    header->setSortIndicator(column, g_headerAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
    g_headerAscending = !g_headerAscending;
}

void CListCtrlResult::SortByKey(int key) {
    if (m_bFilling) {
        return;
    }
    SortRows(key, g_menuAscending);
    // The menu keys are statistics no column shows.
    horizontalHeader()->setSortIndicatorShown(false);
}

bool CListCtrlResult::OnSortCommand(int command) {
    for (const SortCommand& entry : kSortCommands) {
        if (entry.id == command) {
            g_menuAscending = entry.ascending;
            SortByKey(entry.key);
            return true;
        }
    }
    return false;
}

void CListCtrlResult::SortRows(int key, bool ascending) {
    CEquipSet* selected = SelectedSet();
    std::sort(m_pRows.begin(), m_pRows.end(),
              [key, ascending](const ResultRow& a, const ResultRow& b) {
                  const int ka = KeyOf(a, key);
                  const int kb = KeyOf(b, key);
                  return ascending ? ka < kb : ka > kb;
              });
    if (selected != nullptr) {
        const auto found =
            std::find_if(m_pRows.begin(), m_pRows.end(),
                         [selected](const ResultRow& row) { return row.pSet == selected; });
        const int row = static_cast<int>(found - m_pRows.begin());
        SelectRow(row);
        // The set the user was looking at stays in sight at its new place.
        scrollTo(model()->index(row, 0));
    }
    Redraw();
}

std::string CListCtrlResult::OwnerDataText(int row, int column) const {
    const ResultRow* stored = Row(row);
    if (stored == nullptr || stored->pSet == nullptr || column < 0 || column > kKeyOwned) {
        return {};
    }
    return std::to_string(KeyOf(*stored, column));
}

void CListCtrlResult::OnContextMenu(const QPoint& globalPos, int /*row*/) {
    ui::Prompter* prompter = GetPrompter();
    if (GetItemCount() == 0 || prompter == nullptr) {
        return;
    }
    std::unique_ptr<QMenu> menu = ui::LoadPopupMenu(res::kMenuResultSort, this);
    if (menu == nullptr) {
        return;
    }
    OnSortCommand(prompter->TrackPopupMenu(*menu, globalPos));
}
