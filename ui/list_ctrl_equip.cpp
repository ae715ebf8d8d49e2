#include "ui/list_ctrl_equip.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <type_traits>

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

using Col = CListCtrlEquip;

constexpr int kDecoSkillEntries = static_cast<int>(std::extent_v<decltype(CDecoData::skillId)>);

bool IsSkillColumn(int column) {
    return column >= Col::kColFirstSkill && column < Col::kColFirstResist;
}
bool IsResistColumn(int column) {
    return column >= Col::kColFirstResist && column < Col::kColumnCount;
}
// Of a skill column: the entry it shows and whether it shows the system rather than the points.
int SkillEntry(int column) {
    return (column - Col::kColFirstSkill) / 2;
}
bool IsSystemColumn(int column) {
    return (column - Col::kColFirstSkill) % 2 == 0;
}

std::string ArmourSkillText(const CEquipData& piece, int column, const CSkillSystems& systems) {
    const int entry = SkillEntry(column);
    if (!IsSystemColumn(column)) {
        return NonZero(piece.skillPoints[entry]);
    }
    const std::string name(systems.Name(piece.skillId[entry]));
    // The doubling marker carries no points of its own, yet it is what the piece does.
    const bool marker = piece.bodyDoubling && name == sjis::kBodyDoubling;
    return piece.skillPoints[entry] == 0 && !marker ? std::string() : name;
}

// Integer sort keys of the columns other than the kind and the name.
int ArmourKey(const CEquipData& piece, int column) {
    if (column == Col::kColRarity) {
        return piece.rarity;
    }
    if (column == Col::kColDefence) {
        return piece.EffectiveDefense();
    }
    if (column == Col::kColSlots) {
        return piece.slots;
    }
    if (IsSkillColumn(column)) {
        const int entry = SkillEntry(column);
        return IsSystemColumn(column) ? piece.skillId[entry] : piece.skillPoints[entry];
    }
    if (IsResistColumn(column)) {
        return piece.resist[column - Col::kColFirstResist];
    }
    return 0;
}

// A decoration has two skill entries; in the columns of the others it sorts after every piece's
// system and before every piece's points.
int DecoKey(const CDecoData& deco, int column) {
    if (column == Col::kColRarity) {
        return deco.rarity;
    }
    if (column == Col::kColDefence) {
        return 0;
    }
    if (column == Col::kColSlots) {
        return -deco.size;
    }
    if (IsSkillColumn(column) && SkillEntry(column) < kDecoSkillEntries) {
        const int entry = SkillEntry(column);
        return IsSystemColumn(column) ? deco.skillId[entry] : deco.skillPoints[entry];
    }
    return IsSkillColumn(column) && IsSystemColumn(column) ? 256 : -256;
}

const char* TextKey(const EquipRow& row, int column) {
    if (column == Col::kColKind) {
        return row.bArmour ? SlotName(row.Armour()->kind) : sjis::kSlotDeco;
    }
    return row.bArmour ? row.Armour()->name : row.Deco()->name;
}

int IntKey(const EquipRow& row, int column) {
    return row.bArmour ? ArmourKey(*row.Armour(), column) : DecoKey(*row.Deco(), column);
}

// Negative, zero or positive as `a` sorts before, with or after `b` in ascending order.
int CompareRows(const EquipRow& a, const EquipRow& b, int column) {
    if (column == Col::kColKind || column == Col::kColName) {
        return std::strcmp(TextKey(a, column), TextKey(b, column));
    }
    const int ka = IntKey(a, column);
    const int kb = IntKey(b, column);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

// Until a list is given the tables' names, every skill column names an unknown system.
const CSkillSystems kNoSystems;

std::string ArmourCellText(const CEquipData& piece, int column, const CSkillSystems& systems) {
    if (IsSkillColumn(column)) {
        return ArmourSkillText(piece, column, systems);
    }
    return ArmourHeadText(piece, column);
}

std::string DecoCellText(const CDecoData& deco, int column, const CSkillSystems& systems) {
    if (IsSkillColumn(column) && IsSystemColumn(column) && SkillEntry(column) < kDecoSkillEntries) {
        const int entry = SkillEntry(column);
        return deco.skillPoints[entry] == 0 ? std::string()
                                            : std::string(systems.Name(deco.skillId[entry]));
    }
    return DecoHeadText(deco, column);
}

} // namespace

std::string ArmourHeadText(const CEquipData& piece, int column) {
    switch (column) {
    case Col::kColKind:
        return SlotName(piece.kind);
    case Col::kColRarity:
        return Number(piece.rarity);
    case Col::kColName:
        return piece.name;
    case Col::kColDefence:
        return Number(piece.EffectiveDefense());
    case Col::kColSlots:
        return SlotMarks(piece.slots, piece.slots);
    default:
        break;
    }
    if (IsResistColumn(column)) {
        return Number(piece.resist[column - Col::kColFirstResist]);
    }
    return {};
}

std::string DecoHeadText(const CDecoData& deco, int column) {
    switch (column) {
    case Col::kColKind:
        return sjis::kSlotDeco;
    case Col::kColRarity:
        return Number(deco.rarity);
    case Col::kColName:
        return deco.name;
    case Col::kColSlots:
        return SlotMarks(deco.size, 0);
    default:
        break;
    }
    if (IsSkillColumn(column) && !IsSystemColumn(column) &&
        SkillEntry(column) < kDecoSkillEntries) {
        return NonZero(deco.skillPoints[SkillEntry(column)]);
    }
    return {};
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
