#include "ui/list_ctrl_equip.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "ui/slot_marks.h"

namespace {

bool g_sortAscending = true;

std::string Number(int value) {
    return std::to_string(value);
}

std::string NonZero(int value) {
    return value == 0 ? std::string() : Number(value);
}

const char* SlotName(int kind) {
    return kind >= 0 && kind < kSlotCount ? sjis::kSlotLabels[kind] : sjis::kUnknown;
}

std::string ArmourSkillText(const CEquipData& piece, int column, const CSkillSystems& systems) {
    const int entry = (column - 5) / 2;
    if ((column - 5) % 2 != 0) {
        return NonZero(piece.skillPoints[entry]);
    }
    const std::string name(systems.Name(piece.skillId[entry]));
    // The doubling marker carries no points of its own, yet it is what the piece does.
    const bool marker = piece.bodyDoubling && name == sjis::kBodyDoubling;
    return piece.skillPoints[entry] == 0 && !marker ? std::string() : name;
}

// Integer sort keys of the columns other than 0 and 2.
int ArmourKey(const CEquipData& piece, int column) {
    if (column == 1) {
        return piece.rarity;
    }
    if (column == 3) {
        return piece.EffectiveDefense();
    }
    if (column == 4) {
        return piece.slots;
    }
    if (column >= 5 && column <= 14) {
        const int entry = (column - 5) / 2;
        return (column - 5) % 2 == 0 ? piece.skillId[entry] : piece.skillPoints[entry];
    }
    if (column >= 15 && column <= 19) {
        return piece.resist[column - 15];
    }
    return 0;
}

int DecoKey(const CDecoData& deco, int column) {
    switch (column) {
    case 1:
        return deco.rarity;
    case 3:
        return 0;
    case 4:
        return -deco.size;
    case 5:
        return deco.skillId[0];
    case 6:
        return deco.skillPoints[0];
    case 7:
        return deco.skillId[1];
    case 8:
        return deco.skillPoints[1];
    case 9:
    case 11:
    case 13:
        return 256;
    default:
        return -256;
    }
}

const char* TextKey(const EquipRow& row, int column) {
    if (column == 0) {
        return row.bArmour ? SlotName(row.Armour()->kind) : sjis::kSlotDeco;
    }
    return row.bArmour ? row.Armour()->name : row.Deco()->name;
}

int IntKey(const EquipRow& row, int column) {
    return row.bArmour ? ArmourKey(*row.Armour(), column) : DecoKey(*row.Deco(), column);
}

// Negative, zero or positive as `a` sorts before, with or after `b` in ascending order.
int CompareRows(const EquipRow& a, const EquipRow& b, int column) {
    if (column == 0 || column == 2) {
        return std::strcmp(TextKey(a, column), TextKey(b, column));
    }
    const int ka = IntKey(a, column);
    const int kb = IntKey(b, column);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

// Until a list is given the tables' names, every skill column names an unknown system.
const CSkillSystems kNoSystems;

std::string ArmourCellText(const CEquipData& piece, int column, const CSkillSystems& systems) {
    if (column >= 5 && column <= 14) {
        return ArmourSkillText(piece, column, systems);
    }
    return ArmourHeadText(piece, column);
}

std::string DecoCellText(const CDecoData& deco, int column, const CSkillSystems& systems) {
    if (column == 5 || column == 7) {
        const int entry = (column - 5) / 2;
        return deco.skillPoints[entry] == 0 ? std::string()
                                            : std::string(systems.Name(deco.skillId[entry]));
    }
    return DecoHeadText(deco, column);
}

} // namespace

std::string ArmourHeadText(const CEquipData& piece, int column) {
    switch (column) {
    case 0:
        return SlotName(piece.kind);
    case 1:
        return Number(piece.rarity);
    case 2:
        return piece.name;
    case 3:
        return Number(piece.EffectiveDefense());
    case 4:
        return SlotMarks(piece.slots, piece.slots);
    default:
        break;
    }
    if (column >= 15 && column <= 19) {
        return Number(piece.resist[column - 15]);
    }
    return {};
}

std::string DecoHeadText(const CDecoData& deco, int column) {
    switch (column) {
    case 0:
        return sjis::kSlotDeco;
    case 1:
        return Number(deco.rarity);
    case 2:
        return deco.name;
    case 4:
        return SlotMarks(deco.size, 0);
    case 6:
    case 8:
        return NonZero(deco.skillPoints[(column - 6) / 2]);
    default:
        return {};
    }
}

CListCtrlEquip::CListCtrlEquip(QWidget* parent)
    : ui::CReportList(parent), m_pSystems(&kNoSystems),
      m_penGrid(QColor(160, 160, 160), 1, Qt::SolidLine) {
    SetOwnerData(true);
}

void CListCtrlEquip::SetRowCount(int count) {
    if (!IsOwnerData()) {
        SetOwnerData(true);
    }
    m_pRows.assign(static_cast<std::size_t>(std::max(count, 0)), EquipRow{});
    SetItemCount(static_cast<int>(m_pRows.size()));
}

void CListCtrlEquip::SetRow(int index, bool armour, const void* record) {
    if (index < 0 || index >= RowCount()) {
        return;
    }
    m_pRows[static_cast<std::size_t>(index)] = {armour ? 1 : 0, record};
}

void CListCtrlEquip::DeleteRow(int index) {
    if (index < 0 || index >= RowCount()) {
        return;
    }
    const int selected = GetSelectedRow();
    m_pRows.erase(m_pRows.begin() + index);
    SetItemCount(RowCount());
    if (selected >= 0 && selected != index) {
        SelectRow(selected > index ? selected - 1 : selected, false);
    }
}

const EquipRow* CListCtrlEquip::Row(int index) const {
    if (index < 0 || index >= RowCount()) {
        return nullptr;
    }
    return &m_pRows[static_cast<std::size_t>(index)];
}

bool CListCtrlEquip::NextSortAscending() {
    return g_sortAscending;
}

void CListCtrlEquip::SortByColumn(int column) {
    const bool ascending = g_sortAscending;
    std::sort(m_pRows.begin(), m_pRows.end(),
              [column, ascending](const EquipRow& a, const EquipRow& b) {
                  const int order = CompareRows(a, b, column);
                  return ascending ? order < 0 : order > 0;
              });
    g_sortAscending = !g_sortAscending;
    Redraw();
}

std::string CListCtrlEquip::OwnerDataText(int row, int column) const {
    const EquipRow* stored = Row(row);
    if (!stored || !stored->pRecord) {
        return {};
    }
    return stored->bArmour ? ArmourCellText(*stored->Armour(), column, *m_pSystems)
                           : DecoCellText(*stored->Deco(), column, *m_pSystems);
}

void CListCtrlEquip::paintEvent(QPaintEvent* event) {
    ui::CReportList::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(m_penGrid);
    const int width = viewport()->width();
    const int height = viewport()->height();
    int x = -horizontalScrollBar()->value();
    for (int column = 0; column < m_nColumns && column < GetColumnCount(); ++column) {
        x += columnWidth(column);
        if (x >= width) {
            break;
        }
        painter.drawLine(x - 1, 0, x - 1, height);
    }
}
