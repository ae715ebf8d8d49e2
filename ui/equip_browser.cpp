#include "ui/equip_browser.h"

#include <QLineEdit>
#include <algorithm>

#include "engine/tables/shown_names.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "platform/sjis.h"

namespace equip_browser {
namespace {

bool NameHolds(const char* recordName, const std::string& part) {
    return part.empty() || std::string_view(recordName).find(part) != std::string_view::npos;
}

template <int N> bool HasSkill(const std::int32_t (&ids)[N], int skill) {
    for (int id : ids) {
        if (id == skill) {
            return true;
        }
    }
    return false;
}

} // namespace

bool Filter::Passes(const CEquipData& piece) const {
    return (sex == 0 || piece.sex == 0 || piece.sex == sex) &&
           (job == 0 || piece.job == 0 || piece.job == job) &&
           (rarity == -1 || piece.rarity == rarity) && NameHolds(piece.name, name) &&
           (skill == -1 || HasSkill(piece.skillId, skill));
}

bool Filter::Passes(const CDecoData& deco) const {
    const bool tierShown =
        deco.rankTier >= 0 && deco.rankTier < 3 && ((tiers >> deco.rankTier) & 1u);
    return NameHolds(deco.name, name) && (skill == -1 || HasSkill(deco.skillId, skill)) &&
           tierShown;
}

std::vector<EquipRow> CollectRows(const Filter& filter, int category, const Sources& sources) {
    std::vector<EquipRow> rows;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if ((category != kAllKinds && category != slot) || sources.armour[slot] == nullptr) {
            continue;
        }
        for (const CEquipData* piece : *sources.armour[slot]) {
            if (filter.Passes(*piece)) {
                rows.push_back({1, piece});
            }
        }
    }
    if ((category == kAllKinds || category == kDecoCategory) && sources.decos != nullptr) {
        for (const CDecoData* deco : *sources.decos) {
            if (filter.Passes(*deco)) {
                rows.push_back({0, deco});
            }
        }
    }
    return rows;
}

void ShowRows(CListCtrlEquip& list, const std::vector<EquipRow>& rows) {
    list.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        list.SetRow(static_cast<int>(i), rows[i].bArmour != 0, rows[i].pRecord);
    }
    list.SelectRow(0);
}

void CreateEquipColumns(CListCtrlEquip& list) {
    constexpr auto L = ui::CReportList::kLeft;
    constexpr auto R = ui::CReportList::kRight;
    using Col = CListCtrlEquip;
    list.InsertColumn(Col::kColKind, "部", 30, L);
    list.InsertColumn(Col::kColRarity, "レア", 30, R);
    list.InsertColumn(Col::kColName, "名前", 130, L);
    list.InsertColumn(Col::kColDefence, "防御", 30, R);
    list.InsertColumn(Col::kColSlots, "スロット", 50, L);
    for (int k = 0; k < 5; ++k) {
        list.InsertColumn(Col::kColFirstSkill + 2 * k, "系統" + std::to_string(k + 1), 70, L);
        list.InsertColumn(Col::kColFirstSkill + 2 * k + 1, "PT", 30, R);
    }
    for (int k = 0; k < 5; ++k) {
        list.InsertColumn(Col::kColFirstResist + k, shown::kElementNames[k], 30, R);
    }
    list.m_nColumns = CListCtrlEquip::kColumnCount;
}

int CategoryOf(const ui::CTemplateDialog& dialog, const int (&radioIds)[7]) {
    for (int k = 1; k < 7; ++k) {
        if (dialog.IsChecked(radioIds[k])) {
            return k == 6 ? kDecoCategory : k - 1;
        }
    }
    return kAllKinds;
}

int ChoiceOf(const ui::CTemplateDialog& dialog, int first, int second) {
    return dialog.IsChecked(first) ? 1 : dialog.IsChecked(second) ? 2 : 0;
}

std::string NameFilterOf(const ui::CTemplateDialog& dialog, int editId) {
    return platform::Utf8ToSjis(dialog.GetText(editId));
}

int SelectedValue(const ui::CTemplateDialog& dialog, int comboId) {
    const auto* box = dialog.Control<QComboBox>(comboId);
    if (box == nullptr || box->currentIndex() < 0) {
        return -1;
    }
    return box->currentData().toInt();
}

// Each system once: the skill table has one row per level of a system, and a name that merely
// begins like another is a system of its own.
void FillSkillSystemBox(QComboBox& box, const CEquipDatabase& database) {
    box.clear();
    box.addItem(QStringLiteral("すべて"), -1);
    for (const CSkillData* skill : database.Skills()) {
        if (box.findData(skill->systemId) < 0) {
            box.addItem(QString::fromStdString(platform::SjisToShownText(skill->systemName)),
                        skill->systemId);
        }
    }
    // Tables without a doubling piece filter on an id no record carries.
    const CSkillSystems& systems = database.SkillSystems();
    const int found = systems.Find(sjis::kBodyDoubling);
    const int doubling = found >= 0 ? found : systems.Count();
    if (box.findData(doubling) < 0) {
        box.addItem(QStringLiteral("胴系倍加"), doubling);
    }
    box.setCurrentIndex(0);
}

ui::CReportList::CellColors ShadedRow(int row) {
    return {QColor(), row % 2 == 1 ? QColor(208, 208, 208) : QColor(Qt::white)};
}

void FitDecorationColumns(ui::CReportList& list, int first, int count,
                          const std::vector<CDecoData*>& decos) {
    std::vector<std::string> names;
    names.reserve(decos.size());
    for (const CDecoData* deco : decos) {
        names.emplace_back(deco->name);
    }
    for (int column = first; column < first + count; ++column) {
        list.FitColumnWidth(column, names);
    }
}

int KindOf(const EquipRow& row) {
    return row.bArmour ? row.Armour()->kind : kDecoCategory;
}

CEquipData* PieceOf(const EquipRow& row) {
    return const_cast<CEquipData*>(row.Armour());
}

CDecoData* DecoOf(const EquipRow& row) {
    return const_cast<CDecoData*>(row.Deco());
}

} // namespace equip_browser
