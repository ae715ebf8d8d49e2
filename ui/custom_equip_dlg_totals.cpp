#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/sets/skill_summary.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "platform/sjis.h"
#include "ui/custom_equip_dlg.h"
#include "ui/framework/clipboard.h"
#include "ui/framework/color_ref.h"
#include "ui/pad_right.h"
#include "ui/version.h"

namespace {

constexpr int kBodyColumn = 3;
constexpr int kLineCount = 60;
constexpr int kLineSize = 128;
constexpr int kClipboardSize = 4096;
constexpr int kFirstSkillLine = 11;

std::string PointText(int points) {
    if (points == 0) {
        return {};
    }
    return points > 0 ? "+" + std::to_string(points) : std::to_string(points);
}

std::uint32_t RowColor(const SkillRow& row) {
    if (row.skillIndex < 0) {
        return 0;
    }
    return row.total > 0 ? ui::Rgb(0, 192, 0) : ui::Rgb(192, 0, 0);
}

// One line of the clipboard text, formatted from a UTF-8 format with Shift-JIS arguments and cut
// to the line size as the composition area would.
template <class... Args> std::string Line(const char* utf8Format, Args... args) {
    const std::string format = platform::Utf8ToSjis(utf8Format);
    char line[kLineSize] = {};
    std::snprintf(line, sizeof line, format.c_str(), args...);
    return line;
}

} // namespace

void CCustomEquipDlg::RecalcTotals() {
    const CEquipSet set = FixedAsSet();
    SkillRowTable summary;
    const CSkillSystems& systems = m_pDatabase->SkillSystems();
    const int count = SkillSummary(set, SkillTable(), systems, summary);
    m_listTotals.DeleteAllItems();
    m_bBodyDoublingShown = 0;
    const int doublingId = systems.Find(sjis::kBodyDoubling);
    for (int i = 0; i < count; ++i) {
        const SkillRow& row = summary[static_cast<std::size_t>(i)];
        const bool marker = row.systemId == doublingId;
        const int item = m_listTotals.InsertItem(i, systems.Name(row.systemId));
        m_listTotals.SetItemText(item, 1, PointText(row.points[kWeaponPosition]));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string text =
                marker ? (row.doubling[slot] ? "E" : "") : PointText(row.points[slot]);
            m_listTotals.SetItemText(item, 2 + slot, text);
        }
        if (marker && set.pieces[kBody] != nullptr) {
            m_bBodyDoublingShown = 1;
        }
        if (!marker && row.total != 0) {
            m_listTotals.SetItemText(item, 7, std::to_string(row.total));
        }
        if (row.skillIndex >= 0) {
            m_listTotals.SetItemText(item, 8, SkillTable()[row.skillIndex]->skillName);
        }
        m_listTotals.SetItemData(item, RowColor(row));
    }
    m_listTotals.Redraw();
}

// The doubling marker row is the last one; every row above it shows the body column tinted while
// a doubling piece copies the body's points.
ui::CReportList::CellColors CCustomEquipDlg::OnCustomdrawTotals(int row, int column) const {
    const auto color = static_cast<std::uint32_t>(m_listTotals.GetItemData(row));
    const bool tinted =
        m_bBodyDoublingShown && column == kBodyColumn && row != m_listTotals.GetItemCount() - 1;
    return {color != 0 ? ui::ToQColor(color) : QColor(),
            tinted ? QColor(192, 255, 255) : QColor(Qt::white)};
}

void CCustomEquipDlg::CopyFixedToClipboard() {
    ui::SetClipboardSjisText(BuildFixedText());
}

std::string CCustomEquipDlg::BuildFixedText() const {
    const char* const dashes = "-----------------------------------------------\r\n";
    std::vector<std::string> lines(kLineCount);
    lines[0] = Line("----------------------TEVRA KESTROVA ver %s--\r\n", GetVersionString());
    lines[1] = platform::Utf8ToSjis("[固定装備]\r\n\r\n");
    lines[2] = dashes;
    for (int row = 0; row < kFixedRowCount; ++row) {
        const std::string name = PadRight(20, m_listFixed.GetItemText(row, 2));
        const std::string deco1 = PadRight(6, m_listFixed.GetItemText(row, 5));
        const std::string deco2 = PadRight(6, m_listFixed.GetItemText(row, 6));
        const std::string deco3 = PadRight(6, m_listFixed.GetItemText(row, 7));
        lines[3 + row] =
            Line("%s %s %s %s\r\n", name.c_str(), deco1.c_str(), deco2.c_str(), deco3.c_str());
    }
    lines[9] = dashes;

    int defence = 0;
    int resist[5] = {};
    for (int row = 0; row < kSlotCount; ++row) {
        defence += std::atoi(m_listFixed.GetItemText(row, 3).c_str());
        if (const CEquipData* piece = m_fixed.rows[row].piece) {
            for (int element = 0; element < 5; ++element) {
                resist[element] += piece->resist[element];
            }
        }
    }
    lines[10] = Line("防御力[%d] 火[%d] 水[%d] 雷[%d] 氷[%d] 龍[%d]\r\n\r\n", defence, resist[0],
                     resist[1], resist[2], resist[3], resist[4]);

    const int skillRows = std::min(m_listTotals.GetItemCount(), kLineCount - 1 - kFirstSkillLine);
    for (int row = 0; row < skillRows; ++row) {
        const std::string skill = m_listTotals.GetItemText(row, 8);
        if (!skill.empty()) {
            lines[static_cast<std::size_t>(kFirstSkillLine + row)] = skill + "\r\n";
        }
    }
    lines[static_cast<std::size_t>(kFirstSkillLine + skillRows)] = dashes;

    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    text.resize(std::min(text.size(), static_cast<std::size_t>(kClipboardSize - 1)));
    return text;
}
