#include <algorithm>
#include <string>

#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "lists/fixed_set_file.h"
#include "platform/out_of_memory.h"
#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "ui/framework/color_ref.h"
#include "ui/simulator_dlg.h"
#include "ui/slot_marks.h"

using namespace res;

namespace {

using Equip = CListCtrlResultEquip;

constexpr char kResultFilter[] =
    "TEVRA Kestrova検索結果ファイル (*.eql)|*.eql|すべてのファイル (*.*)|*.*||";
constexpr char kFixedSetFilter[] =
    "TEVRA Kestrova装備セットファイル (*.eq)|*.eq|すべてのファイル (*.*)|*.*||";

constexpr std::uint32_t kPlusSkillColor = ui::Rgb(0, 192, 0);
constexpr std::uint32_t kMinusSkillColor = ui::Rgb(192, 0, 0);
constexpr std::uint32_t kNoSkillColor = ui::Rgb(0, 0, 0);

const QColor kWhite(255, 255, 255);

// 0 gives an empty cell, a positive value a leading plus.
std::string PointText(int points) {
    if (points == 0) {
        return {};
    }
    return points > 0 ? "+" + std::to_string(points) : std::to_string(points);
}

bool IsOwned(const CSearchCondition& condition, const CEquipData* piece) {
    if (piece == nullptr || piece->kind < 0 || piece->kind >= kSlotCount) {
        return false;
    }
    const auto& owned = condition.owned[piece->kind];
    return std::find(owned.begin(), owned.end(), piece) != owned.end();
}

void SetDecoNames(ui::CReportList& list, int row, const CEquipSet& set, int position) {
    for (int k = 0; k < 3; ++k) {
        const CDecoData* deco = set.decos[position][k];
        if (deco != nullptr) {
            list.SetItemText(row, Equip::kColFirstDeco + k, deco->name);
        }
    }
}

void InsertPieceRow(ui::CReportList& list, const CEquipSet& set, int position) {
    const CEquipData* piece = set.pieces[position];
    const int row =
        list.InsertItem(position, piece != nullptr ? std::to_string(piece->rarity) : "");
    if (piece == nullptr) {
        return;
    }
    list.SetItemText(row, Equip::kColName, piece->name);
    list.SetItemText(row, Equip::kColDefence, std::to_string(piece->EffectiveDefense()));
    for (int element = 0; element < 5; ++element) {
        list.SetItemText(row, Equip::kColFirstResist + element,
                         std::to_string(piece->resist[element]));
    }
    list.SetItemText(row, Equip::kColSlots, SlotMarks(piece->slots, set.FreeSlots(position)));
    SetDecoNames(list, row, set, position);
    list.SetItemData(row, reinterpret_cast<std::uintptr_t>(piece));
}

} // namespace

void CSimulatorDlg::OnResultItemChanged(const ui::CReportList::ItemChange& change) {
    if (change.BecameSelected()) {
        ShowSetDetails();
    }
}

void CSimulatorDlg::OnHeaderItemClick(const ui::CReportList& list, int column) {
    if (&list == &m_listResult) {
        m_listResult.SortByColumn(column);
    }
}

ui::CReportList::CellColors CSimulatorDlg::OnCustomdrawResult(int row, int /*column*/) const {
    return {QColor(), row % 2 == 1 ? QColor(208, 208, 208) : kWhite};
}

ui::CReportList::CellColors CSimulatorDlg::OnCustomdrawSetEquip(int row, int /*column*/) const {
    if (row == m_listSetEquip.GetItemCount() - 1) {
        return {QColor(), QColor(192, 192, 255)};
    }
    const auto* piece = reinterpret_cast<const CEquipData*>(m_listSetEquip.GetItemData(row));
    return {QColor(), IsOwned(m_condition, piece) ? QColor(192, 255, 192) : kWhite};
}

ui::CReportList::CellColors CSimulatorDlg::OnCustomdrawSetSkills(int row, int column) const {
    const QColor text = ui::ToQColor(static_cast<std::uint32_t>(m_listSetSkills.GetItemData(row)));
    const bool tinted =
        m_bBodyDoublingShown == 1 && column == 3 && row != m_listSetSkills.GetItemCount() - 1;
    return {text, tinted ? QColor(192, 255, 255) : kWhite};
}

void CSimulatorDlg::ShowSetDetails() {
    if (m_search.results.empty()) {
        return;
    }
    const CEquipSet* set = m_listResult.SelectedSet();
    if (set == nullptr) {
        return;
    }

    m_listSetEquip.DeleteAllItems();
    for (int position = 0; position < kSlotCount; ++position) {
        InsertPieceRow(m_listSetEquip, *set, position);
    }
    const int weaponSlots = m_condition.weaponSlots;
    if (weaponSlots != 0) {
        const int row = m_listSetEquip.InsertItem(kSlotCount, "");
        m_listSetEquip.SetItemText(row, Equip::kColName, platform::Utf8ToSjis("武器スロット"));
        m_listSetEquip.SetItemText(
            row, Equip::kColSlots,
            SlotMarks(weaponSlots, set->FreeSlots(weaponSlots, kWeaponPosition)));
        SetDecoNames(m_listSetEquip, row, *set, kWeaponPosition);
    }
    const int total = m_listSetEquip.InsertItem(m_listSetEquip.GetItemCount(), "");
    m_listSetEquip.SetItemText(total, Equip::kColName, platform::Utf8ToSjis("合計"));
    m_listSetEquip.SetItemText(total, Equip::kColDefence, std::to_string(set->TotalDefense()));
    for (int element = 0; element < 5; ++element) {
        m_listSetEquip.SetItemText(total, Equip::kColFirstResist + element,
                                   std::to_string(set->TotalResist(element)));
    }

    m_listSetSkills.DeleteAllItems();
    m_bBodyDoublingShown = 0;
    const auto& skills = m_search.database.Skills();
    SkillRowTable summary;
    const CSkillSystems& systems = m_search.database.SkillSystems();
    const int rowCount = set->Summarize(summary, skills, systems);
    const int doublingId = systems.Find(sjis::kBodyDoubling);
    for (int i = 0; i < rowCount; ++i) {
        const SkillRow& skillRow = summary[static_cast<std::size_t>(i)];
        const int row = m_listSetSkills.InsertItem(i, systems.Name(skillRow.systemId));
        m_listSetSkills.SetItemText(row, kSetSkillWeapon,
                                    PointText(skillRow.points[kWeaponPosition]));
        const bool marker = skillRow.systemId == doublingId;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string text = !marker                   ? PointText(skillRow.points[slot])
                                     : skillRow.doubling[slot] ? "E"
                                                               : "";
            m_listSetSkills.SetItemText(row, kSetSkillFirstSlot + slot, text);
        }
        if (marker && set->pieces[kBody] != nullptr) {
            m_bBodyDoublingShown = 1;
        }
        if (!marker) {
            m_listSetSkills.SetItemText(row, kSetSkillTotal, std::to_string(skillRow.total));
        }
        std::uint32_t color = kNoSkillColor;
        if (skillRow.skillIndex >= 0) {
            const CSkillData& skill = *skills[static_cast<std::size_t>(skillRow.skillIndex)];
            m_listSetSkills.SetItemText(row, kSetSkillName, skill.skillName);
            color = skillRow.total > 0 ? kPlusSkillColor : kMinusSkillColor;
        }
        m_listSetSkills.SetItemData(row, color);
    }
    ShowSetExtras(*set);
}

void CSimulatorDlg::OnBnClickedLoad() {
    // Loading replaces the sets a running search or the filling still works on.
    if (EngineBusy() || m_bFillingResults) {
        return;
    }
    ui::FileDialogRequest request;
    request.filter = kResultFilter;
    request.defaultExt = "eql";
    request.hideReadOnly = true;
    request.createPrompt = true;
    const std::optional<std::string> path = GetPrompter().OpenFile(request);
    if (!path) {
        return;
    }
    int loaded = 0;
    if (!platform::RunWithinMemory([&] {
            loaded = m_search.LoadResults(*path, m_condition.job, m_condition.sex,
                                          m_condition.weaponSlots);
        })) {
        EndForLackOfMemory();
        return;
    }
    // The rows point into the results the engine may have discarded: they must go before
    // anything repaints them, and the completion handler refills them from the new results.
    if (loaded || m_search.results.empty()) {
        ClearResultDisplay();
    }
    if (!loaded) {
        return;
    }
    Control<ui::CReportList>(kIdChosenSkills)->DeleteAllItems();
    m_finishSource = FinishSource::kFile;
    PostMessage(SearchHost::kSearchFinished, m_search.visited, m_search.totalCombos);
}

void CSimulatorDlg::OnBnClickedSaveAll() {
    if (EngineBusy()) {
        return;
    }
    std::string name;
    const auto& skills = m_search.database.Skills();
    for (int k = 0; k < m_condition.skillCount && k < kMaxChosenSkills; ++k) {
        const int index = m_condition.skillRows[k];
        if (index < 0 || index >= static_cast<int>(skills.size())) {
            continue;
        }
        if (!name.empty()) {
            name += "_";
        }
        name += skills[static_cast<std::size_t>(index)]->skillName;
    }
    ui::FileDialogRequest request;
    request.filter = kResultFilter;
    request.defaultExt = "eql";
    request.initialName = platform::SjisToShownText(name);
    request.overwritePrompt = true;
    const std::optional<std::string> path = GetPrompter().SaveFile(request);
    if (path) {
        m_search.SaveResults(*path, m_condition.job, m_condition.sex, m_condition.weaponSlots);
    }
}

void CSimulatorDlg::OnBnClickedSaveFixed() {
    if (m_search.results.empty()) {
        return;
    }
    const CEquipSet* set = m_listResult.SelectedSet();
    if (set == nullptr) {
        return;
    }
    ui::FileDialogRequest request;
    request.filter = kFixedSetFilter;
    request.defaultExt = "eq";
    request.initialName = ui::kUntitledName;
    request.overwritePrompt = true;
    const std::optional<std::string> path = GetPrompter().SaveFile(request);
    if (!path) {
        return;
    }
    // Sets read from a result file carry no weapon slot count of their own; the file's count,
    // now in the condition, is what their weapon decorations sit in.
    CEquipSet fixed = *set;
    fixed.weaponSlots = m_condition.weaponSlots;
    SaveResultAsFixedSet(fixed, *path, m_sink);
}
