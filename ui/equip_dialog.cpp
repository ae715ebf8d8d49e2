#include "ui/equip_dialog.h"

#include <QKeyEvent>
#include <algorithm>

#include "res/browser_filters.h"

using namespace res::browser;

CEquipDialog::CEquipDialog(const res::DialogTemplate& dialog, std::string programFolder,
                           std::initializer_list<int> nameFilterIds, ui::Prompter& prompter,
                           QWidget* parent)
    : ui::CTemplateDialog(dialog, prompter, parent), m_programFolder(std::move(programFolder)),
      m_sink(prompter), m_nameFilterIds(nameFilterIds) {
    SubclassItem(kIdCandidates, m_listCandidates);
    equip_browser::CreateEquipColumns(m_listCandidates);
}

void CEquipDialog::SetData(const CEquipDatabase& database, CConfigData& config) {
    m_pDatabase = &database;
    m_pConfig = &config;
    m_listCandidates.SetSkillSystems(database.SkillSystems());
    OnSetData(database);
}

int CEquipDialog::DoModal() {
    if (m_pDatabase == nullptr) {
        return ui::kIdCancel;
    }
    Open();
    return exec();
}

bool CEquipDialog::OnInitDialog() {
    if (m_pDatabase != nullptr) {
        Open();
    }
    return true;
}

void CEquipDialog::OnClose() {
    OnCancel();
}

void CEquipDialog::reject() {
    OnCancel();
}

bool CEquipDialog::ClosesWithoutSaving(bool changed, const char* question,
                                       const std::function<void()>& save) {
    if (!changed) {
        return true;
    }
    switch (GetPrompter().MessageBox(question, ui::MessageButtons::kSaveDiscardCancel)) {
    case ui::kIdYes:
        save();
        return false;
    case ui::kIdNo:
        return true;
    default:
        return false;
    }
}

void CEquipDialog::StoreRadiosInto(int& sex, int& weapon) const {
    sex = IsChecked(kIdMale) ? 1 : 2;
    weapon = IsChecked(kIdBlade) ? 1 : 2;
}

bool CEquipDialog::PreTranslateKey(QObject* target, const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enter && std::any_of(m_nameFilterIds.begin(), m_nameFilterIds.end(),
                                [&](int id) { return Item(id) == target; });
}

const EquipRow* CEquipDialog::SelectedCandidate() const {
    const EquipRow* row = m_listCandidates.Row(m_listCandidates.GetSelectedRow());
    return row != nullptr && row->pRecord != nullptr ? row : nullptr;
}

equip_browser::Filter CEquipDialog::BrowserFilter(int nameFilterId, int skillBoxId) const {
    equip_browser::Filter filter;
    filter.sex = equip_browser::ChoiceOf(*this, kIdMale, kIdFemale);
    filter.job = equip_browser::ChoiceOf(*this, kIdBlade, kIdGunner);
    filter.name = equip_browser::NameFilterOf(*this, nameFilterId);
    filter.skill = equip_browser::SelectedValue(*this, skillBoxId);
    return filter;
}

void CEquipDialog::ShowCandidates(const equip_browser::Filter& filter, int category) {
    equip_browser::Sources tables;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        tables.armour[slot] = &m_pDatabase->Armor(slot);
    }
    tables.decos = &m_pDatabase->Decos();
    equip_browser::ShowRows(m_listCandidates, equip_browser::CollectRows(filter, category, tables));
}
